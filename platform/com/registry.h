#pragma once
// The per-user class registry: a small text file of keys
// ("CLSID\{...}\InprocServer32") holding named string values ("" is a key's default
// value). Keys and value names compare without regard to case. The file lies
// where SCANVELT_REGISTRY names it (every test sets it), else in
// $XDG_CONFIG_HOME/scanvelt/registry, else ~/.config/scanvelt/registry.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/abi.h"

namespace com {

inline constexpr const char* kRegistryVariable = "SCANVELT_REGISTRY";

class Registry {
public:
    static std::string DefaultPath();

    // A missing file reads as an empty registry; REGDB_E_READREGDB when the
    // file cannot be read or is not a registry file.
    static HRESULT Load(const std::string& path, Registry& registry);
    // Written atomically; REGDB_E_WRITEREGDB on failure (the old file stays).
    HRESULT Save(const std::string& path) const;

    // Creates the key (and no value) when it is not there yet.
    void CreateKey(std::string_view key);
    void SetValue(std::string_view key, std::string_view name, std::string_view value);
    std::optional<std::string> GetValue(std::string_view key, std::string_view name = "") const;
    bool HasKey(std::string_view key) const;
    // Removes the key and every key below it.
    void DeleteTree(std::string_view key);
    // Keys in order (their spelling as first written).
    std::vector<std::string> Keys() const;

    std::string Serialize() const;
    static std::optional<Registry> Parse(std::string_view text);

private:
    struct Key {
        std::string name;
        std::map<std::string, std::pair<std::string, std::string>> values;  // folded name -> (name, value)
    };
    std::map<std::string, Key> keys_;  // folded key -> key
};

// Loads the registry at `path`, lets `change` edit it, and saves it, holding a
// lock so that two registrations at once do not lose each other's entries.
// A damaged file (one that is not a registry file) stays as it is and the
// answer is REGDB_E_READREGDB: only SetAsideDamagedRegistry moves it away.
HRESULT UpdateRegistry(const std::string& path, const std::function<void(Registry&)>& change);

// When the file at `path` is there but is not a registry file (damaged or cut
// off), renames it to "<path>.damaged-<date and time>" beside it, kept for
// whoever wants to look at it, so that the next registration starts a new
// one; `keptAs` then names the copy. A sound or missing file is left alone
// (`keptAs` empty). REGDB_E_READREGDB when the file cannot be read at all
// (its permissions), REGDB_E_WRITEREGDB when it cannot be renamed.
HRESULT SetAsideDamagedRegistry(const std::string& path, std::string* keptAs);

}  // namespace com
