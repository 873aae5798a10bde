// The command line of cadhost: what it names, and how a mistake in it is told.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cadhost {

struct Arguments {
    std::vector<std::filesystem::path> drawings;       // opened in order; the last one is the current drawing
    std::optional<std::filesystem::path> save;         // --save OUT.dxf: the current drawing
    std::optional<std::filesystem::path> svg;          // --svg OUT.svg: the current drawing's model space
    std::optional<std::filesystem::path> playSvg;      // --play-svg OUT.svg: the same, its animation played
    std::optional<std::filesystem::path> install;      // --install DIR: the installation folder
    std::optional<std::filesystem::path> registry;     // --registry FILE: the registry file
    std::vector<std::string> load;                     // --load laser,nesting,panelboot (names or .so paths)
    std::optional<std::filesystem::path> script;       // --script FILE
    std::optional<std::filesystem::path> moduleFolder; // --module-folder DIR: where --load finds modules by name
    std::optional<std::string> openWith;               // --open-with CMD: the program that opens files for the user
    bool help = false;                                 // --help, -h
    bool version = false;                              // --version
};

struct ParsedArguments {
    std::optional<Arguments> arguments;  // nothing when the command line is wrong
    std::string error;                   // then: what is wrong, naming the option ("--save needs a file name")
};

// Parses the arguments after the program name. Options take their value as the next argument or after '='
// (--save=OUT.dxf); each may be given once. "--" ends the options: what follows is a drawing even if it starts
// with '-'. Refused: an unknown option, a missing or empty value, an option given twice, an empty --load list or
// an empty name in it. Whether the files exist is not checked here.
ParsedArguments parseArguments(std::span<const std::string_view> args);

// The usage text printed by --help.
std::string usageText();

}  // namespace cadhost
