// Memory for database objects (see object_memory.cpp): DbObject's own operator new and delete use these.
#pragma once

#include <cstddef>

namespace host::db::detail {

void* allocateObject(std::size_t size);
// `size` is the size the object was allocated with.
void freeObject(void* object, std::size_t size) noexcept;

}  // namespace host::db::detail
