#include "cli/CliApp.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int code = tintara::cli::Run(args, std::cout, std::cerr);
    std::cout.flush();
    return std::cout.good() ? code : tintara::cli::ExitFailure;
}
