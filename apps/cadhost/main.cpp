// cadhost, the host program: reads the command line and runs it.
#include <iostream>
#include <string_view>
#include <vector>

#include "apps/cadhost/arguments.h"
#include "apps/cadhost/run.h"
#include "host/sys/version.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    cadhost::ParsedArguments parsed = cadhost::parseArguments(args);
    if (!parsed.arguments) {
        std::cerr << "cadhost: " << parsed.error << "\nTry 'cadhost --help'.\n";
        return cadhost::kExitUsage;
    }
    if (parsed.arguments->version) {
        std::cout << "cadhost " << host::sys::kProductName << " " << host::sys::kProductVersion << "\n";
        return cadhost::kExitDone;
    }
    if (parsed.arguments->help) {
        std::cout << cadhost::usageText();
        return cadhost::kExitDone;
    }
    return cadhost::run(*parsed.arguments, std::cout, std::cerr);
}
