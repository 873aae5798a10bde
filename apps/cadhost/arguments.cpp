// Parsing cadhost's command line into Arguments, strictly: every mistake is named.
#include "apps/cadhost/arguments.h"

#include <array>

namespace cadhost {
namespace {

enum class Option { Save, Svg, PlaySvg, Install, Registry, Load, Script, ModuleFolder, OpenWith };

struct OptionName {
    std::string_view name;
    Option option;
};

constexpr std::array<OptionName, 9> kOptions = {{
    {"--save", Option::Save},
    {"--svg", Option::Svg},
    {"--play-svg", Option::PlaySvg},
    {"--install", Option::Install},
    {"--registry", Option::Registry},
    {"--load", Option::Load},
    {"--script", Option::Script},
    {"--module-folder", Option::ModuleFolder},
    {"--open-with", Option::OpenWith},
}};

// Splits "a,b,c" at commas. An empty item (",," or a trailing comma) answers nothing.
std::optional<std::vector<std::string>> splitList(std::string_view text) {
    std::vector<std::string> items;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        if (item.empty()) return std::nullopt;
        items.emplace_back(item);
        if (comma == std::string_view::npos) return items;
        text.remove_prefix(comma + 1);
    }
}

// Stores one option's value. Answers the error text, or "" when it was taken.
std::string takeValue(Arguments& a, Option option, std::string_view name, std::string_view value) {
    auto setPath = [&](std::optional<std::filesystem::path>& slot) -> std::string {
        if (slot) return std::string(name) + " is given twice";
        slot = std::filesystem::path(value);
        return {};
    };
    switch (option) {
        case Option::Save: return setPath(a.save);
        case Option::Svg: return setPath(a.svg);
        case Option::PlaySvg: return setPath(a.playSvg);
        case Option::Install: return setPath(a.install);
        case Option::Registry: return setPath(a.registry);
        case Option::Script: return setPath(a.script);
        case Option::ModuleFolder: return setPath(a.moduleFolder);
        case Option::OpenWith: {
            if (a.openWith) return std::string(name) + " is given twice";
            a.openWith = std::string(value);
            return {};
        }
        case Option::Load: {
            if (!a.load.empty()) return std::string(name) + " is given twice";
            auto items = splitList(value);
            if (!items) return std::string(name) + " needs module names separated by commas, e.g. --load laser,nesting";
            a.load = std::move(*items);
            return {};
        }
    }
    return {};
}

}  // namespace

ParsedArguments parseArguments(std::span<const std::string_view> args) {
    Arguments a;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            if (arg.empty()) return {std::nullopt, "an empty drawing name"};
            a.drawings.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            a.help = true;
            continue;
        }
        if (arg == "--version") {
            a.version = true;
            continue;
        }
        const std::size_t eq = arg.find('=');
        const std::string_view name = arg.substr(0, eq);
        const OptionName* known = nullptr;
        for (const OptionName& o : kOptions) {
            if (o.name == name) known = &o;
        }
        if (!known) return {std::nullopt, "unknown option " + std::string(name)};
        std::string_view value;
        if (eq != std::string_view::npos) {
            value = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return {std::nullopt, std::string(name) + " needs a value"};
        }
        if (value.empty()) return {std::nullopt, std::string(name) + " needs a value"};
        if (std::string error = takeValue(a, known->option, name, value); !error.empty())
            return {std::nullopt, std::move(error)};
    }
    return {std::move(a), {}};
}

std::string usageText() {
    return "Usage: cadhost [DRAWING.dxf ...] [--load MODULES] [--script FILE] [--save OUT.dxf] [--svg OUT.svg]\n"
           "               [--play-svg OUT.svg] [--install DIR] [--registry FILE] [--module-folder DIR] [--open-with CMD]\n"
           "\n"
           "Opens the drawings (a new empty drawing when none is named; the last one named is the current\n"
           "drawing), loads the modules, runs the script's lines as a user would type them, or reads commands\n"
           "at the \"Command: \" prompt until the end of input or QUIT, then saves and draws the current drawing.\n"
           "At the prompt, HELP (or ?) lists the commands; Esc or Ctrl-C cancels a command.\n"
           "\n"
           "  --load MODULES        modules to load, separated by commas: names found in the module folder\n"
           "                        (laser: cutting paths and NC programs; nesting: nesting parts on sheets;\n"
           "                        panelboot: the product's menus in the host's menu bar),\n"
           "                        or paths of .so files\n"
           "  --script FILE         the commands and answers to run, one a line (\";;\" starts a comment, \"^C\"\n"
           "                        is Esc, an empty line is Enter)\n"
           "  --save OUT.dxf        save the current drawing at the end as DXF (R2000); a failed save, or a script\n"
           "                        that stopped early, leaves OUT.dxf as it was\n"
           "  --svg OUT.svg         draw the current drawing's model space as an SVG picture at the end\n"
           "  --play-svg OUT.svg    the same picture, animated: what moved on the display while the script ran (the\n"
           "                        cut simulation's marker of NCPlay and NCPlay1) plays in a browser at the speed\n"
           "                        it was shown, its '+' and '-' included\n"
           "  --install DIR         the installation folder (line types, postprocessors, templates, menus)\n"
           "  --registry FILE       the registry file (default: $KESTRION_REGISTRY or\n"
           "                        ~/.config/kestrion/registry.reg)\n"
           "  --module-folder DIR   where modules are found by name (default: $KESTRION_MODULES, or the build's\n"
           "                        module folder)\n"
           "  --open-with CMD       the program that opens files the modules show to the user (NC programs, ...)\n"
           "  -h, --help            this text\n"
           "      --version         the program's version\n"
           "\n"
           "Exit status: 0 done; 1 a drawing, script or module could not be read or loaded, a file could not be\n"
           "written, or the script stopped early; 2 a mistake on the command line.\n";
}

}  // namespace cadhost
