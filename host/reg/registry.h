// The registry store: keys and values kept in one text file in the layout of exported registry files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/reg/file_lock.h"
#include "host/reg/key_path.h"
#include "host/reg/registry_format.h"
#include "host/reg/registry_tree.h"

namespace host::reg {

enum class Status {
    Ok,
    NotFound,         // no such key or value
    InvalidArgument,  // a key path naming no hive or with an empty name; a name or text that is not UTF-8 or
                      // holds a line break (the file could not give it back)
    WriteRefused,     // the file could not be read when last looked at: it is not written over until
                      // allowOverwrite() (see Registry)
    WriteDenied,      // writing is switched off (setWriteDenied, for tests of a denied registry)
    WriteFailed,      // the file could not be written; problem() says why; the old file is untouched
};

// "Ok", "NotFound", ... for messages and test output.
const char* statusText(Status status);

class Registry;

// A key of a registry, by path. A light handle: it stays valid while its Registry lives, whether or not the key
// exists; reading a key that does not exist finds nothing, and writing a value creates the key.
class RegistryKey {
public:
    RegistryKey(Registry& registry, KeyPath path) : registry_(&registry), path_(std::move(path)) {}

    // The value's text; nothing when the value is absent or is not a string (a caller then takes its default).
    std::optional<std::string> getString(std::string_view name) const;
    // The value as a DWORD; nothing when absent or not a dword.
    std::optional<std::uint32_t> getDword(std::string_view name) const;
    Status setString(std::string_view name, std::string_view value);
    Status setDword(std::string_view name, std::uint32_t value);
    Status deleteValue(std::string_view name);
    // Names as first written, in the order they were first written ("" is the default value).
    std::vector<std::string> valueNames() const;
    std::vector<std::string> subKeyNames() const;
    bool exists() const;
    const KeyPath& path() const { return path_; }

private:
    Registry* registry_;
    KeyPath path_;
};

// One registry file, shared by every module of the process (see machineRegistry()) and by other processes.
//
// Reading. The file is read at first use and again whenever it has changed on disk since (every call checks),
// so a value written by another process is seen by the next call. The reading is strict: on any fault (a
// malformed line, an unreadable or oversized file) nothing of the file is taken, the store keeps what it had
// (nothing, at first use), and the message, naming the file and line, goes to the message handler and to
// problem().
//
// Writing. Each change is written through at once: under a lock file, the file is read again if another process
// changed it, the change is applied, and the whole store is written with an AtomicFile (temporary file, sync,
// rename), in the encoding the file had (UTF-16LE stays UTF-16LE, others become UTF-8) with CR LF line ends.
// A change that leaves the content as it was writes nothing. Comments of the file are not kept. A Batch defers
// the writing to its end (one write for many values).
//
// The rule that keeps a user's file: after a failed reading, writes are refused (Status::WriteRefused), since
// writing would replace the user's file by what the store holds, which may be much less. allowOverwrite()
// lifts the refusal for that reading; the next write first copies the unread file to "<file>.bad". A file that
// reads well again (the user mended it) lifts the refusal by itself.
//
// Names of keys and values are compared without regard to case (ASCII and Cyrillic). All calls are safe from
// several threads.
class Registry {
public:
    explicit Registry(std::filesystem::path file);
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    // Uses another file from now on (read at the next call); the old content is dropped.
    void setFile(std::filesystem::path file);
    std::filesystem::path file() const;

    // Reads the file now if it changed since it was last read. False when that reading failed (problem() says
    // why) or an earlier failed reading still stands.
    bool refresh();

    // Keys, by hive and sub-key ("SOFTWARE\Kestrion\20.0") or by full path ("HKLM\SOFTWARE\Kestrion").
    std::optional<RegistryKey> openKey(Hive hive, std::string_view subKey);  // nothing when absent
    std::optional<RegistryKey> openKey(std::string_view fullPath);
    RegistryKey key(Hive hive, std::string_view subKey);   // whether or not it exists
    Status createKey(Hive hive, std::string_view subKey);  // with missing parents; Ok if it exists
    Status createKey(std::string_view fullPath);
    Status deleteKey(Hive hive, std::string_view subKey);  // with everything below it
    Status deleteKey(std::string_view fullPath);

    // Values of a key (RegistryKey calls these).
    std::optional<std::string> getString(const KeyPath& key, std::string_view name);
    std::optional<std::uint32_t> getDword(const KeyPath& key, std::string_view name);
    Status setString(const KeyPath& key, std::string_view name, std::string_view value);
    Status setDword(const KeyPath& key, std::string_view name, std::uint32_t value);
    Status deleteValue(const KeyPath& key, std::string_view name);
    std::vector<std::string> valueNames(const KeyPath& key);
    std::vector<std::string> subKeyNames(const KeyPath& key);
    bool keyExists(const KeyPath& key);

    // True while writes are refused after a failed reading.
    bool writesRefused();
    // Lets the next write replace the file that could not be read (a copy is kept as "<file>.bad").
    void allowOverwrite();
    // The last reading or writing problem, "" when none.
    std::string problem();
    // Where messages about failed readings and writes go (by default, standard error). Called with the store
    // locked: the handler must not call back into this registry.
    void setMessageHandler(std::function<void(const std::string&)> handler);
    // Makes every write answer Status::WriteDenied without touching the file (a registry the user may not write).
    void setWriteDenied(bool denied);

    // Defers writing: changes made while a Batch lives are kept in memory and written once, when the last
    // Batch ends or commit() is called. The lock file is held meanwhile, so other processes wait to write.
    class Batch {
    public:
        explicit Batch(Registry& registry);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // Ends the batch. On a failed write the store returns to its content before the batch.
        Status commit();

    private:
        Registry& registry_;
        bool ended_ = false;
    };

private:
    struct FileSignature {
        bool exists = false;
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t modifiedNs = 0, changedNs = 0;
        friend bool operator==(const FileSignature&, const FileSignature&) = default;
    };

    FileSignature signatureOfFile() const;
    void refreshLocked();
    void readLocked(const FileSignature& signature);
    void report(const std::string& message);
    Status change(const KeyPath& key,
                  const std::function<Status(RegistryTree&, const std::vector<std::string>&)>& edit);
    Status writeLocked(const RegistryTree& tree);

    mutable std::mutex mutex_;
    std::filesystem::path file_;
    RegistryTree tree_;
    RegistryFileEncoding encoding_ = RegistryFileEncoding::Utf8;
    FileSignature loaded_;
    bool readOnce_ = false;
    bool refused_ = false;
    bool overwriteAllowed_ = false;
    bool writeDenied_ = false;
    std::string problem_;
    std::function<void(const std::string&)> messageHandler_;
    int batchDepth_ = 0;
    bool batchDirty_ = false;
    RegistryTree batchSnapshot_;
    std::unique_ptr<FileLock> batchLock_;
};

}  // namespace host::reg
