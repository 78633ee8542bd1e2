#include "ScanFile.h"

#include "CliArgs.h"
#include "Commands.h"

#include "material/MaterialScanner.h"

namespace tintara::cli {

std::filesystem::path CommandPath(const std::string& file) {
    // Arguments arrive in the system's narrow encoding, which is what the path
    // constructor assumes.
    return std::filesystem::path(file);
}

bool ScanFileForCommand(const std::string& file, MaterialTable& table, std::ostream& err) {
    const ScanResult result = ScanMaterialFile(CommandPath(file), table);
    switch (result.status) {
    case ScanStatus::Ok:
        return true;
    case ScanStatus::OpenFailed:
        throw BadInput(result.message);
    case ScanStatus::ReadFailed:
    case ScanStatus::BadFloat:
        break;
    }
    err << ReadProblemMessage << '\n';
    return false;
}

} // namespace tintara::cli
