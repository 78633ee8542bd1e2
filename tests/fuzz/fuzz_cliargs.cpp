// The command-line tool's argument handling: the input is split at NUL bytes into
// arguments and run in a scratch folder holding a copy of the sample model. Any
// crash, or an exit status other than 0, 1 and 2, is a finding. Arguments naming
// other folders are skipped, so a run can only touch the scratch folder.

#include "cli/CliApp.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<char> g_sample;

void RestoreSample() {
    for (const auto& entry : std::filesystem::directory_iterator("."))
        std::filesystem::remove_all(entry.path());
    std::ofstream("sample.mdl", std::ios::binary)
        .write(g_sample.data(), std::streamsize(g_sample.size()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::ifstream in(TINTARA_SAMPLE_PATH, std::ios::binary);
    g_sample.assign(std::istreambuf_iterator<char>(in), {});
    const auto scratch = std::filesystem::temp_directory_path() / "tintara-fuzz-cli";
    std::filesystem::create_directories(scratch);
    std::filesystem::current_path(scratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    for (const std::string& arg : args)
        if (arg.find('/') != std::string::npos || arg.find('\\') != std::string::npos ||
            arg.find("..") != std::string::npos)
            return -1; // stay inside the scratch folder
    RestoreSample();
    std::ostringstream out, err;
    const int code = tintara::cli::Run(args, out, err);
    if (code < 0 || code > 2) {
        std::fprintf(stderr, "unexpected exit status %d\n", code);
        std::abort();
    }
    return 0;
}
