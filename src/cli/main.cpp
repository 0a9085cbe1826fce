// penvox-cli: the encrypted documents of Penvox without the desktop.
//
//   penvox-cli decrypt FILE.pxt [--password P]
//   penvox-cli encrypt FILE [--password P] -o OUT.pxt
//   penvox-cli count FILE...
//   penvox-cli calc [--] EXPR
//
// Every failure is one line on standard error naming the file and the reason;
// the exit code is 1 for a failure and 2 for a command line that cannot be
// understood. New subcommands go into kCommands below.
#include <cctype>
#include "core/arithmetic.h"
#include "core/atomic_file.h"
#include "core/document_files.h"
#include "core/gbk_codec.h"
#include "core/text_cipher.h"
#include "core/text_stats.h"

#include <cerrno>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace penvox;

constexpr int kFailure = 1;
constexpr int kUsageError = 2;
constexpr std::string_view kProgram = "penvox-cli";

// Every document password is prefixed with this text before hashing, so the
// documents of the desktop program and of this tool open with the same password.
constexpr std::string_view kKeyPrefix = "qmv517362840";

void complain(std::string_view message)
{
    std::string line(kProgram);
    line += ": ";
    line += message;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

// Builds a message from its pieces (no "literal" + std::string, which draws a
// false -Wrestrict from GCC 12 at -O2).
std::string join(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (const std::string_view part : parts)
        text += part;
    return text;
}

std::string quoted(std::string_view path)
{
    std::string q(1, '"');
    q += path;
    q += '"';
    return q;
}

// A usage error: one line, with a pointer to the help.
int usageError(std::string_view message)
{
    std::string line(message);
    line += " (see \"penvox-cli --help\")";
    complain(line);
    return kUsageError;
}

// The command line of one subcommand, once its options are taken apart.
struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // by long name, without the dashes
    bool help = false;

    std::optional<std::string> option(const std::string& name) const
    {
        const auto it = options.find(name);
        if (it == options.end())
            return std::nullopt;
        return it->second;
    }
};

struct OptionName {
    std::string_view longName;   // "password" for --password
    std::string_view shortName;  // "o" for -o, or empty
};

struct Command {
    std::string_view name;
    std::string_view synopsis;
    std::string_view summary;
    std::vector<OptionName> options;  // every option takes a value
    std::size_t positionalCount;
    int (*run)(const Arguments&);
    bool morePositional = false;  // positionalCount or more positional arguments
};

// Splits `--name VALUE`, `--name=VALUE`, `-x VALUE` and positional arguments;
// "--" ends the options; "--help" anywhere outside an option's value asks for
// the usage. Returns an error text, or nothing when all is well.
std::optional<std::string> parse(const Command& command, std::span<char* const> args, Arguments& out)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        // "-5+3" and "-(2)" are expressions, not options: an option's name
        // always starts with a letter.
        const bool looksLikeOption =
            arg.size() >= 2 && arg.front() == '-' && (arg[1] == '-' || std::isalpha(static_cast<unsigned char>(arg[1])));
        if (optionsEnded || !looksLikeOption) {
            out.positional.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            out.help = true;
            return std::nullopt;
        }
        const OptionName* known = nullptr;
        std::optional<std::string_view> inlineValue;
        if (arg.starts_with("--")) {
            std::string_view name = arg.substr(2);
            const std::size_t eq = name.find('=');
            if (eq != std::string_view::npos) {
                inlineValue = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
            for (const OptionName& s : command.options)
                if (s.longName == name)
                    known = &s;
        } else {
            for (const OptionName& s : command.options)
                if (!s.shortName.empty() && s.shortName == arg.substr(1))
                    known = &s;
        }
        if (!known) {
            std::string message(command.name);
            message += ": unknown option ";
            message += quoted(arg);
            return message;
        }
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            std::string message(command.name);
            message += ": option ";
            message += quoted(arg);
            message += " needs a value";
            return message;
        }
        std::string key(known->longName);
        if (out.options.count(key)) {
            std::string message(command.name);
            message += ": option --";
            message += key;
            message += " is given twice";
            return message;
        }
        out.options.emplace(std::move(key), std::move(value));
    }
    if (out.positional.size() < command.positionalCount ||
        (out.positional.size() > command.positionalCount && !command.morePositional)) {
        std::string message(command.name);
        message += out.positional.size() < command.positionalCount ? ": missing the input file"
                                                                    : ": too many arguments";
        return message;
    }
    return std::nullopt;
}

// The key text of a document: the fixed prefix and the password's GBK bytes.
// The password comes from the terminal as UTF-8; one that is not valid UTF-8,
// or that holds a character the program cannot store, would silently become a
// different key (a document nobody could open again), so it is refused.
std::optional<std::string> keyTextFor(const Arguments& args)
{
    const std::string password = args.option("password").value_or("");
    const std::string gbkPassword = gbk::fromUtf8(password);
    if (gbk::toUtf8(gbkPassword) != password)
        return std::nullopt;
    std::string key(kKeyPrefix);
    key += gbkPassword;
    return key;
}

int badPassword()
{
    return usageError("the password is not valid UTF-8 text, or holds a character the program cannot store");
}

std::optional<std::string> readInput(const std::string& path)
{
    std::string reason;
    std::optional<std::string> bytes = files::readAll(path, &reason);
    if (!bytes)
        complain(join({"cannot read ", quoted(path), ": ", reason}));
    return bytes;
}

// Writes to standard output; false (with the reason told) when it fails.
// `what` names the output in that message ("the text").
bool writeOut(std::string_view text, std::string_view what = {})
{
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) != 0 || !written || std::ferror(stdout)) {
        const int reason = errno != 0 ? errno : EIO;
        std::string message = "cannot write ";
        if (!what.empty()) {
            message += what;
            message += ' ';
        }
        message += "to standard output: ";
        message += files::reasonFor(reason);
        complain(message);
        return false;
    }
    return true;
}

int runDecrypt(const Arguments& args)
{
    const std::string& path = args.positional[0];
    const std::optional<std::string> key = keyTextFor(args);
    if (!key)
        return badPassword();
    const std::optional<std::string> bytes = readInput(path);
    if (!bytes)
        return kFailure;

    const std::string text = cipher::decrypt(*bytes, *key);
    if (!cipher::looksLikeText(text))
        complain(join({"warning: ", quoted(path), " does not decrypt to text; the password is probably wrong"}));

    return writeOut(text, "the text") ? 0 : kFailure;
}

int runEncrypt(const Arguments& args)
{
    const std::string& path = args.positional[0];
    const std::optional<std::string> out = args.option("output");
    if (!out || out->empty())
        return usageError("encrypt: missing the output file (-o OUT.pxt)");
    const std::optional<std::string> key = keyTextFor(args);
    if (!key)
        return badPassword();
    const std::optional<std::string> bytes = readInput(path);
    if (!bytes)
        return kFailure;

    // Opened as the desktop program opens a document: its encoding detected
    // and its text converted to GBK, line breaks kept as they are.
    const std::string text = documents::toProgramText(*bytes, documents::detect(*bytes));
    std::string reason;
    if (!files::writeAtomically(*out, cipher::encrypt(text, *key), &reason)) {
        complain(join({"cannot write ", quoted(*out), ": ", reason}));
        return kFailure;
    }
    return 0;
}

// The editor's expression calculation: one final "=" is dropped, the rest is
// evaluated as arithmetic, and the result is written as the editor receives
// it. A failed calculation writes an empty line, as the editor shows an empty
// result, says so on standard error and exits with 1.
int runCalc(const Arguments& args)
{
    std::string expression = gbk::fromUtf8(args.positional[0]);
    if (!expression.empty() && expression.back() == '=')
        expression.pop_back();
    const std::string result = arithmetic::calculate(expression);
    std::string line = result;
    line += '\n';
    if (!writeOut(line, "the result"))
        return kFailure;
    if (result.empty()) {
        complain("calc: not an arithmetic expression");
        return kFailure;
    }
    return 0;
}


// The statistics window's seven lines, one per terminal line.
std::string terminalBreakdown(const stats::Counts& counts)
{
    std::string text;
    for (const char c : stats::breakdown(counts))
        if (c != '\r')
            text += c;
    text += '\n';
    return text;
}

int runCount(const Arguments& args)
{
    const bool several = args.positional.size() > 1;
    bool failed = false;
    stats::Counts total;
    for (const std::string& path : args.positional) {
        const std::optional<std::string> bytes = readInput(path);
        if (!bytes) {
            failed = true;
            continue;
        }
        // The text as the editor holds it once the file is opened: encoding
        // detected, converted to the program's text, every CR LF and every
        // lone CR a paragraph break.
        const std::string programText = documents::toProgramText(*bytes, documents::detect(*bytes));
        const std::u16string unicode = gbk::toUtf16(programText);
        std::u16string editorText;
        editorText.reserve(unicode.size());
        for (std::size_t i = 0; i < unicode.size(); ++i) {
            if (unicode[i] == u'\r') {
                if (i + 1 < unicode.size() && unicode[i + 1] == u'\n')
                    ++i;
                editorText += u'\n';
            } else {
                editorText += unicode[i];
            }
        }
        const stats::Counts counts = stats::count(editorText);
        total.symbols += counts.symbols;
        total.chinese += counts.chinese;
        total.current += counts.current;
        total.english += counts.english;
        total.digits += counts.digits;
        total.paragraphs += counts.paragraphs;

        std::string block;
        if (several) {
            block += path;
            block += '\n';
        }
        block += terminalBreakdown(counts);
        if (several)
            block += '\n';
        if (!writeOut(block))
            return kFailure;
    }
    if (several && !writeOut(join({"合计\n", terminalBreakdown(total)})))
        return kFailure;
    return failed ? kFailure : 0;
}

const std::vector<Command>& commands()
{
    static const std::vector<Command> kCommands = {
        {"decrypt", "decrypt FILE.pxt [--password P]",
         "write the text of an encrypted document to standard output (GBK bytes)",
         {{"password", "p"}},
         1,
         runDecrypt},
        {"encrypt", "encrypt FILE [--password P] -o OUT.pxt",
         "encrypt a text file (GBK, UTF-8 or UTF-16) into an encrypted document",
         {{"password", "p"}, {"output", "o"}},
         1,
         runEncrypt},
        {"count", "count FILE...",
         "print the character counts of text files, as the statistics window shows them",
         {},
         1,
         runCount,
         true},
        {"calc", "calc [--] EXPR",
         "evaluate an arithmetic expression as the editor's calculation does (a final \"=\" is\n"
         "      dropped); put \"--\" before an expression that starts with \"-\"",
         {},
         1,
         runCalc},
    };
    return kCommands;
}

void printUsage(std::FILE* to)
{
    std::string text = "Usage:\n";
    for (const Command& c : commands()) {
        text += "  penvox-cli ";
        text += c.synopsis;
        text += "\n      ";
        text += c.summary;
        text += '\n';
    }
    text +=
        "  penvox-cli --help\n"
        "\n"
        "Without --password the document's password is empty. The password is taken\n"
        "as typed in the terminal (UTF-8). Decrypted text is written in the program's\n"
        "encoding (GBK, with GB18030 for characters beyond it); to read it in a UTF-8\n"
        "terminal, pipe it through \"iconv -f GB18030 -t UTF-8\".\n"
        "\n"
        "count reads each file as the desktop program opens it and prints its\n"
        "figures in UTF-8; with several files, each under its name and then their\n"
        "sum under \"合计\". A file that cannot be read is reported and the others\n"
        "are still counted.\n"
        "\n"
        "Exit status: 0 on success, 1 when a file cannot be read or written,\n"
        "2 when the command line cannot be understood.\n";
    std::fwrite(text.data(), 1, text.size(), to);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::span<char* const> args(argv + (argc > 0 ? 1 : 0), argc > 0 ? static_cast<std::size_t>(argc - 1) : 0);
    if (args.empty()) {
        printUsage(stderr);
        return kUsageError;
    }
    const std::string_view name = args[0];
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(stdout);
        return std::fflush(stdout) == 0 ? 0 : kFailure;
    }
    for (const Command& command : commands()) {
        if (command.name != name)
            continue;
        Arguments parsed;
        if (const auto error = parse(command, args.subspan(1), parsed))
            return usageError(*error);
        if (parsed.help) {
            printUsage(stdout);
            return std::fflush(stdout) == 0 ? 0 : kFailure;
        }
        return command.run(parsed);
    }
    return usageError(join({"unknown command ", quoted(name)}));
}
