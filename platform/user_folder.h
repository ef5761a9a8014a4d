// The folder a user works in when Kestrel is started from the desktop's menu: one of the user's
// own, made on the first start and given the read-only files installed with the program, because
// the program keeps every file in its working folder and a menu would otherwise start it in
// whatever folder the desktop chose.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// "Kestrel" in the user's home folder: $HOME, or the account's home when HOME is unset or empty.
// Nothing when neither names a folder.
std::optional<std::filesystem::path> DefaultUserFolder();

// Where the installed program finds its read-only files: "share/kestrel" beside the "bin" folder
// that holds the executable, so an unpacked package works wherever it was unpacked.
std::filesystem::path InstalledDataFolder(const std::filesystem::path& executableFolder);

struct UserFolderResult {
    bool ok = false;
    std::string error;                // why the folder cannot be used
    std::vector<std::string> copied;  // the files this start put into the folder
};

// Makes `folder` (with any missing parents) and copies each of `files` from `installed` into it,
// unless the folder already has a file of that name: the user's copy is never replaced. A file
// missing from `installed` is left out. Every copy appears whole or not at all, so a start that
// is killed halfway leaves nothing the next start would take for the user's own file.
UserFolderResult PrepareUserFolder(const std::filesystem::path& folder,
                                   const std::filesystem::path& installed,
                                   const std::vector<std::string_view>& files);

}  // namespace kestrel
