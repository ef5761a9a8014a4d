// The desktop program: the Qt host drawing the program's windows. It works in the folder it was
// started in. The desktop menu entry starts it with "--user-folder": it then works in the user's
// own "Kestrel" folder (or the folder given as "--user-folder=FOLDER"), made on the first start
// with a copy of the installed federal table file and user guide.
#include <QApplication>
#include <QStringList>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>

#include "app/program.h"
#include "calc/federal_tables.h"
#include "employee/help.h"
#include "platform/qt/qt_host.h"
#include "platform/user_folder.h"

namespace {

constexpr char kUserFolderOption[] = "--user-folder";

// Makes the user's folder the working folder: why not, when it cannot be.
std::optional<std::string> EnterUserFolder(const std::optional<std::filesystem::path>& folder) {
    if (!folder) return "Kestrel cannot tell where your home folder is.";
    const std::filesystem::path installed =
        kestrel::InstalledDataFolder(QApplication::applicationDirPath().toStdString());
    const kestrel::UserFolderResult prepared = kestrel::PrepareUserFolder(
        *folder, installed, {kestrel::kFederalTableFile, kestrel::kHelpFileName});
    if (!prepared.ok)
        return "Kestrel cannot work in " + folder->string() + ":\r\n" + prepared.error;
    std::error_code error;
    std::filesystem::current_path(*folder, error);
    if (error) return "Kestrel cannot work in " + folder->string() + ":\r\n" + error.message();
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrel");
    kestrel::QtHost host;

    // Qt has taken its own options out; anything else but ours is reported and ignored.
    bool ownFolder = false;
    std::optional<std::filesystem::path> folder;
    const std::string withFolder = std::string(kUserFolderOption) + "=";
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const std::string argument = arguments[i].toStdString();
        if (argument == kUserFolderOption) {
            ownFolder = true;
            folder = kestrel::DefaultUserFolder();
        } else if (argument.starts_with(withFolder) && argument.size() > withFolder.size()) {
            ownFolder = true;
            folder = std::filesystem::path(argument.substr(withFolder.size()));
        } else {
            std::cerr << "kestrel: ignoring " << argument << " (the only option is "
                      << kUserFolderOption << "[=FOLDER])\n";
        }
    }
    if (ownFolder) {
        if (const std::optional<std::string> problem = EnterUserFolder(folder)) {
            std::cerr << "kestrel: " << *problem << '\n';
            kestrel::ShowMessage(host, *problem, kestrel::MsgIcon::Warning);
            return 1;
        }
    }

    kestrel::Program program(host);
    program.Start();
    return QApplication::exec();
}
