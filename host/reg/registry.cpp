// The file-backed registry store: reading when the file changed, writing through under a lock, the refusal rule.
#include "host/reg/registry.h"

#include <sys/stat.h>

#include <iostream>
#include <system_error>

#include "host/sys/atomic_file.h"
#include "host/sys/encoding.h"
#include "host/sys/file_read.h"

namespace host::reg {

namespace {

constexpr std::string_view kUnreadFileSuffix = ".bad";

bool holdsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A name or text the file can hold and give back: UTF-8 (one malformed byte would make the whole file read as
// CP1251) without line breaks (the format has no escape for them).
bool storable(std::string_view text) { return sys::isValidUtf8(text) && !holdsLineBreak(text); }

bool storableName(std::string_view name) {
    return storable(name) && sys::utf8CharacterCount(name) <= kMaxValueNameLength;
}

std::optional<std::vector<std::string>> namesOf(const KeyPath& key) { return splitSubKey(key.subKey); }

}  // namespace

const char* statusText(Status status) {
    switch (status) {
        case Status::Ok: return "Ok";
        case Status::NotFound: return "NotFound";
        case Status::InvalidArgument: return "InvalidArgument";
        case Status::WriteRefused: return "WriteRefused";
        case Status::WriteDenied: return "WriteDenied";
        case Status::WriteFailed: return "WriteFailed";
    }
    return "?";
}

// ------------------------------------------------------------------------------------------------- RegistryKey

std::optional<std::string> RegistryKey::getString(std::string_view name) const {
    return registry_->getString(path_, name);
}
std::optional<std::uint32_t> RegistryKey::getDword(std::string_view name) const {
    return registry_->getDword(path_, name);
}
Status RegistryKey::setString(std::string_view name, std::string_view value) {
    return registry_->setString(path_, name, value);
}
Status RegistryKey::setDword(std::string_view name, std::uint32_t value) {
    return registry_->setDword(path_, name, value);
}
Status RegistryKey::deleteValue(std::string_view name) { return registry_->deleteValue(path_, name); }
std::vector<std::string> RegistryKey::valueNames() const { return registry_->valueNames(path_); }
std::vector<std::string> RegistryKey::subKeyNames() const { return registry_->subKeyNames(path_); }
bool RegistryKey::exists() const { return registry_->keyExists(path_); }

// ------------------------------------------------------------------------------------------- reading the file

Registry::Registry(std::filesystem::path file) : file_(std::move(file)) {}

void Registry::setFile(std::filesystem::path file) {
    std::lock_guard lock(mutex_);
    file_ = std::move(file);
    tree_ = {};
    encoding_ = RegistryFileEncoding::Utf8;
    loaded_ = {};
    readOnce_ = refused_ = overwriteAllowed_ = false;
    problem_.clear();
}

std::filesystem::path Registry::file() const {
    std::lock_guard lock(mutex_);
    return file_;
}

Registry::FileSignature Registry::signatureOfFile() const {
    struct stat st {};
    FileSignature signature;
    if (::stat(file_.c_str(), &st) != 0) return signature;  // absent (or unreachable: the reading will say)
    signature.exists = true;
    signature.device = st.st_dev;
    signature.inode = st.st_ino;
    signature.size = static_cast<std::uint64_t>(st.st_size);
    signature.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    signature.changedNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return signature;
}

void Registry::report(const std::string& message) {
    problem_ = message;
    if (messageHandler_) {
        messageHandler_(message);
    } else {
        std::cerr << message << '\n';
    }
}

void Registry::refreshLocked() {
    if (batchDepth_ > 0) return;  // the batch holds the lock file: nobody else has written
    const FileSignature signature = signatureOfFile();
    if (readOnce_ && signature == loaded_) return;
    readLocked(signature);
}

void Registry::readLocked(const FileSignature& signature) {
    readOnce_ = true;
    loaded_ = signature;
    const sys::FileBytes content = signature.exists ? sys::readFileBytes(file_, kMaxRegistryFileBytes)
                                                    : sys::FileBytes{sys::FileReadStatus::Missing, {}, {}};
    std::string error;
    std::optional<ParsedRegistry> parsed;
    if (content.status == sys::FileReadStatus::Missing) {
        parsed.emplace();  // no file yet: an empty registry, and the first write creates the file
    } else if (content.status == sys::FileReadStatus::Read) {
        parsed = parseRegistryFile(content.bytes, file_.string(), &error);
    } else {
        error = content.error;
    }
    if (!parsed) {
        refused_ = true;
        overwriteAllowed_ = false;
        report("registry not read: " + error + " (the settings in use are kept; the file is not written over)");
        return;
    }
    tree_ = std::move(parsed->tree);
    encoding_ = parsed->encoding;
    refused_ = overwriteAllowed_ = false;
    problem_.clear();
}

bool Registry::refresh() {
    std::lock_guard lock(mutex_);
    refreshLocked();
    return !refused_;
}

// ------------------------------------------------------------------------------------------------------ reads

std::optional<RegistryKey> Registry::openKey(Hive hive, std::string_view subKey) {
    KeyPath path{hive, std::string(subKey)};
    if (!keyExists(path)) return std::nullopt;
    return RegistryKey(*this, std::move(path));
}

std::optional<RegistryKey> Registry::openKey(std::string_view fullPath) {
    const auto path = parseKeyPath(fullPath);
    if (!path) return std::nullopt;
    return openKey(path->hive, path->subKey);
}

RegistryKey Registry::key(Hive hive, std::string_view subKey) {
    return RegistryKey(*this, KeyPath{hive, std::string(subKey)});
}

bool Registry::keyExists(const KeyPath& key) {
    const auto names = namesOf(key);
    if (!names) return false;
    std::lock_guard lock(mutex_);
    refreshLocked();
    return tree_.find(key.hive, *names) != nullptr;
}

std::optional<std::string> Registry::getString(const KeyPath& key, std::string_view name) {
    const auto names = namesOf(key);
    if (!names) return std::nullopt;
    std::lock_guard lock(mutex_);
    refreshLocked();
    const RegistryKeyNode* node = tree_.find(key.hive, *names);
    const RegistryValue* value = node ? node->findValue(name) : nullptr;
    if (value == nullptr || value->type != ValueType::String) return std::nullopt;
    return value->text;
}

std::optional<std::uint32_t> Registry::getDword(const KeyPath& key, std::string_view name) {
    const auto names = namesOf(key);
    if (!names) return std::nullopt;
    std::lock_guard lock(mutex_);
    refreshLocked();
    const RegistryKeyNode* node = tree_.find(key.hive, *names);
    const RegistryValue* value = node ? node->findValue(name) : nullptr;
    if (value == nullptr || value->type != ValueType::Dword) return std::nullopt;
    return value->dword;
}

std::vector<std::string> Registry::valueNames(const KeyPath& key) {
    std::vector<std::string> out;
    const auto names = namesOf(key);
    if (!names) return out;
    std::lock_guard lock(mutex_);
    refreshLocked();
    if (const RegistryKeyNode* node = tree_.find(key.hive, *names)) {
        for (const RegistryValue& value : node->values) out.push_back(value.name);
    }
    return out;
}

std::vector<std::string> Registry::subKeyNames(const KeyPath& key) {
    std::vector<std::string> out;
    const auto names = namesOf(key);
    if (!names) return out;
    std::lock_guard lock(mutex_);
    refreshLocked();
    if (const RegistryKeyNode* node = tree_.find(key.hive, *names)) {
        for (const RegistryKeyNode& child : node->children) out.push_back(child.name);
    }
    return out;
}

// ----------------------------------------------------------------------------------------------------- writes

Status Registry::createKey(Hive hive, std::string_view subKey) {
    return change(KeyPath{hive, std::string(subKey)},
                  [hive](RegistryTree& tree, const std::vector<std::string>& names) {
                      tree.ensure(hive, names);
                      return Status::Ok;
                  });
}

Status Registry::createKey(std::string_view fullPath) {
    const auto path = parseKeyPath(fullPath);
    if (!path) return Status::InvalidArgument;
    return createKey(path->hive, path->subKey);
}

Status Registry::deleteKey(Hive hive, std::string_view subKey) {
    const auto names = splitSubKey(subKey);
    if (!names || names->empty()) return Status::InvalidArgument;  // a hive cannot be deleted
    std::string parent;
    for (std::size_t i = 0; i + 1 < names->size(); ++i) parent += (parent.empty() ? "" : "\\") + (*names)[i];
    const std::string last = names->back();
    return change(KeyPath{hive, parent}, [&](RegistryTree& tree, const std::vector<std::string>& parentPath) {
        RegistryKeyNode* node = tree.find(hive, parentPath);
        return node != nullptr && node->removeChild(last) ? Status::Ok : Status::NotFound;
    });
}

Status Registry::deleteKey(std::string_view fullPath) {
    const auto path = parseKeyPath(fullPath);
    if (!path) return Status::InvalidArgument;
    return deleteKey(path->hive, path->subKey);
}

Status Registry::setString(const KeyPath& key, std::string_view name, std::string_view value) {
    // The file format has no escape for a line break: such a text could not be read back.
    if (!storableName(name) || !storable(value)) return Status::InvalidArgument;
    return change(key, [&](RegistryTree& tree, const std::vector<std::string>& names) {
        tree.ensure(key.hive, names)
            .setValue(RegistryValue{std::string(name), ValueType::String, std::string(value), 0, {}});
        return Status::Ok;
    });
}

Status Registry::setDword(const KeyPath& key, std::string_view name, std::uint32_t value) {
    if (!storableName(name)) return Status::InvalidArgument;
    return change(key, [&](RegistryTree& tree, const std::vector<std::string>& names) {
        tree.ensure(key.hive, names).setValue(RegistryValue{std::string(name), ValueType::Dword, {}, value, {}});
        return Status::Ok;
    });
}

Status Registry::deleteValue(const KeyPath& key, std::string_view name) {
    return change(key, [&](RegistryTree& tree, const std::vector<std::string>& names) {
        RegistryKeyNode* node = tree.find(key.hive, names);
        return node != nullptr && node->removeValue(name) ? Status::Ok : Status::NotFound;
    });
}

// Every write goes through here: `edit` is tried on a copy of the store (read afresh under the lock file), and
// the copy is kept only when it has been written.
Status Registry::change(const KeyPath& key,
                        const std::function<Status(RegistryTree&, const std::vector<std::string>&)>& edit) {
    const auto names = namesOf(key);
    if (!names || !storable(key.subKey)) return Status::InvalidArgument;
    std::lock_guard lock(mutex_);
    if (writeDenied_) {
        problem_ = "writing the registry is denied";
        return Status::WriteDenied;
    }
    std::unique_ptr<FileLock> fileLock;
    if (batchDepth_ == 0) {
        fileLock = std::make_unique<FileLock>(file_);
        if (fileLock->timedOut()) {
            report("cannot write " + file_.string() + ": another program holds " + fileLock->lockFileName());
            return Status::WriteFailed;
        }
        refreshLocked();
    }
    if (refused_ && !overwriteAllowed_) {
        problem_ = "cannot write " + file_.string() + ": it could not be read, and writing would replace it";
        return Status::WriteRefused;
    }
    RegistryTree next = tree_;
    if (const Status edited = edit(next, *names); edited != Status::Ok) return edited;
    const bool unchanged = next == tree_ && loaded_.exists && !refused_;
    if (unchanged) return Status::Ok;
    if (batchDepth_ > 0) {
        tree_ = std::move(next);
        batchDirty_ = true;
        return Status::Ok;
    }
    const Status written = writeLocked(next);
    if (written == Status::Ok) tree_ = std::move(next);
    return written;
}

Status Registry::writeLocked(const RegistryTree& tree) {
    const RegistryFileEncoding encoding =
        encoding_ == RegistryFileEncoding::Utf16le ? RegistryFileEncoding::Utf16le : RegistryFileEncoding::Utf8;
    const std::string bytes = encodeRegistryFile(tree, encoding);
    if (bytes.size() > kMaxRegistryFileBytes) {
        report("cannot write " + file_.string() + ": it would be larger than " + std::to_string(kMaxRegistryFileBytes) +
               " bytes");
        return Status::WriteFailed;
    }
    std::error_code ec;
    if (file_.has_parent_path()) std::filesystem::create_directories(file_.parent_path(), ec);
    if (ec) {
        report("cannot write " + file_.string() + ": cannot create its folder: " + ec.message());
        return Status::WriteFailed;
    }
    if (refused_ && overwriteAllowed_ && loaded_.exists) {
        const std::filesystem::path copy = file_.string() + std::string(kUnreadFileSuffix);
        std::filesystem::copy_file(file_, copy, std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) {
            report("cannot write " + file_.string() + ": cannot keep the unread file as " + copy.string() + ": " +
                   ec.message());
            return Status::WriteFailed;
        }
    }
    sys::AtomicFile out(file_);
    std::string error;
    if (!out.open(&error) || !out.write(bytes) || !out.commit(&error)) {
        report(error.empty() ? "cannot write " + file_.string() : error);
        return Status::WriteFailed;
    }
    loaded_ = signatureOfFile();
    readOnce_ = true;
    encoding_ = encoding;
    refused_ = overwriteAllowed_ = false;
    problem_.clear();
    return Status::Ok;
}

// -------------------------------------------------------------------------------------------- the write rule

bool Registry::writesRefused() {
    std::lock_guard lock(mutex_);
    refreshLocked();
    return refused_ && !overwriteAllowed_;
}

void Registry::allowOverwrite() {
    std::lock_guard lock(mutex_);
    if (refused_) overwriteAllowed_ = true;
}

std::string Registry::problem() {
    std::lock_guard lock(mutex_);
    return problem_;
}

void Registry::setMessageHandler(std::function<void(const std::string&)> handler) {
    std::lock_guard lock(mutex_);
    messageHandler_ = std::move(handler);
}

void Registry::setWriteDenied(bool denied) {
    std::lock_guard lock(mutex_);
    writeDenied_ = denied;
}

// ------------------------------------------------------------------------------------------------------ Batch

Registry::Batch::Batch(Registry& registry) : registry_(registry) {
    std::lock_guard lock(registry_.mutex_);
    if (registry_.batchDepth_ == 0) {
        registry_.batchLock_ = std::make_unique<FileLock>(registry_.file_);
        registry_.refreshLocked();
        registry_.batchSnapshot_ = registry_.tree_;
        registry_.batchDirty_ = false;
    }
    ++registry_.batchDepth_;
}

Registry::Batch::~Batch() {
    if (!ended_) commit();
}

Status Registry::Batch::commit() {
    if (ended_) return Status::Ok;
    ended_ = true;
    std::lock_guard lock(registry_.mutex_);
    if (--registry_.batchDepth_ > 0) return Status::Ok;
    Status status = Status::Ok;
    if (registry_.batchDirty_) {
        if (registry_.batchLock_->timedOut()) {
            registry_.report("cannot write " + registry_.file_.string() + ": another program holds " +
                             registry_.batchLock_->lockFileName());
            status = Status::WriteFailed;
        } else {
            status = registry_.writeLocked(registry_.tree_);
        }
        if (status != Status::Ok) registry_.tree_ = std::move(registry_.batchSnapshot_);
    }
    registry_.batchSnapshot_ = {};
    registry_.batchDirty_ = false;
    registry_.batchLock_.reset();
    return status;
}

}  // namespace host::reg
