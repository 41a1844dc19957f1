// Shared pieces of the quvtool commands: option parsing, the catalogue folder and picking
// records. Every command reads its options through TCommandOptions, so each has --help (usage,
// what every option does and an example on stdout, exit 0) and refuses bad usage the same way
// (one line and the short usage on stderr, exit 2).
#pragma once

#include <QCommandLineParser>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace quv {

class TCatalogue;
class TQuvFile;

// One option of a command, named without its dashes. `values` is the number of words that follow
// it: 0 for a flag, 1, or 2 for a pair such as "--range BEGIN END". `arg` names those words and
// `help` says what the option does, with its unit and default: the --help line is made of them,
// so what the parser takes and what the help explains cannot part.
struct TOptionSpec {
    std::string name;
    int values = 1;
    std::string arg;
    std::string help;
};

// The option tables one after the other.
std::vector<TOptionSpec> JoinSpecs(std::initializer_list<std::vector<TOptionSpec>> tables);

// The options several commands share, described once.
TOptionSpec CatalogueOptionSpec();
// "--part" and "--file", picking the records a command works on; `what` ends the sentences
// ("to draw; up to four in all").
std::vector<TOptionSpec> PartOptionSpecs(const std::string& what);
// "--method" and "--mechanical-tilt" of the 3D pattern.
std::vector<TOptionSpec> Pattern3DOptionSpecs();
// "--height", "--radius" and "--slope" of the footprint, with the footprint's defaults.
std::vector<TOptionSpec> FootprintOptionSpecs();

class TCommandOptions {
public:
    // `usage` is printed as it is after every usage error; --help adds a line per option and
    // `example`, one command line that works on the bundled catalogue. Without `positional` a
    // word that belongs to no option is a usage error.
    TCommandOptions(std::string command, std::string usage, std::vector<TOptionSpec> options,
                    std::string example, bool positional = false);

    // Nothing when the command may go on; otherwise the exit code, with the usage printed: 0 for
    // --help, 2 for bad usage.
    std::optional<int> Parse(const std::vector<std::string>& args);

    bool IsSet(const std::string& name) const;
    // The last value given, empty when the option is absent. A pair's two words are in Values.
    std::string Value(const std::string& name) const;
    // Every value in the order given; a pair contributes its two words.
    std::vector<std::string> Values(const std::string& name) const;
    const std::vector<std::string>& Positional() const { return positional_; }

    // The options as given, in order, each with its words.
    struct TGiven {
        std::string name;
        std::vector<std::string> values;
    };
    const std::vector<TGiven>& Given() const { return given_; }

    // Prints "quvtool COMMAND: line" and the usage to stderr; returns 2.
    int Fail(const std::string& line) const;
    const std::string& Usage() const { return usage_; }
    // What --help prints: the usage, "options:" and a line per option, then "example: ...".
    std::string Help() const;

private:
    const TOptionSpec* Spec(const std::string& name) const;
    std::string command_;
    std::string usage_;
    std::vector<TOptionSpec> specs_;
    std::string example_;
    bool allowPositional_;
    QCommandLineParser parser_;
    std::vector<std::string> positional_;
    std::vector<TGiven> given_;
};

// The catalogue folder of "--catalogue DIR", or the default one (as TakeCatalogueOption).
std::string CatalogueFolder(const TCommandOptions& options);

// The "QUV" folder beside the running quvtool executable.
std::string DefaultCatalogueFolder();

// Removes "--catalogue DIR" from args and returns DIR (the default folder when absent).
// Returns false with `error` set when the option has no value.
bool TakeCatalogueOption(std::vector<std::string>& args, std::string& folder, std::string& error);

// The record a command's "--part TEXT" or "--file NAME" names.
struct TPartPick {
    TQuvFile* record = nullptr;
    // When several records share the part number and the first was taken: which files share it
    // and how to pick another. Empty otherwise.
    std::string note;
};
// TEXT is the antenna list's item text of a record of the catalogue ("TP-PCS-XAZ17, 1710-1880
// MHz, 65 Deg. AZ BW"), or a part number: the first record with it, as the list shows them
// first. The part number is compared exactly, or without regard to case with `ignoreCase`.
TPartPick PickPart(const TCatalogue& catalogue, const std::string& text, bool ignoreCase = false);
// The record loaded from the data file of that name in the catalogue folder ("TD2165-18.quv").
TQuvFile* PickFile(const TCatalogue& catalogue, const std::string& name);

// Fonts and the printer need a GUI application even when nothing is shown; creates an offscreen
// one, once, when the process has none.
void EnsureGuiApplication();

// The usage lines that name the formats --format accepts, from the format list.
std::string FormatNameUsage();

} // namespace quv
