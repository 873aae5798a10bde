// Status of a database operation: what failed, in words a caller can print.
#pragma once

namespace host::db {

enum class Status {
    Ok = 0,
    NullObjectId,        // the id names no object
    WasErased,           // the object is erased (open it with openErased to see it)
    OnLockedLayer,       // an entity on a locked layer cannot be opened for write
    WrongObjectType,     // the object is not of the type asked for
    WasOpenForWrite,     // already open for write: close it first
    WasOpenForRead,      // open for read elsewhere: it cannot also be opened for write
    NotOpenForWrite,     // a change was made to an object that is not open for write
    KeyNotFound,         // no such name in the table or dictionary
    DuplicateKey,        // the name is already in use
    InvalidInput,        // an argument is out of range or malformed
    RegAppNotFound,      // extended data of an application the drawing has not registered
    AlreadyInDb,         // the object already belongs to a database
    NotInDatabase,       // the object belongs to no database
    WrongDatabase,       // the id belongs to another drawing
    InvalidIndex,        // an index past the end of a list
    NotApplicable,       // the operation means nothing for this object
    FileError,           // a file could not be read or written
    UndoNotAvailable,    // nothing to undo
};

// An English text for a status, for messages and test output ("eWasErased" style names are the host's own).
const char* statusText(Status s);

}  // namespace host::db
