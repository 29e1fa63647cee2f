// SPDX-License-Identifier: MIT
#include "app/ParsedOptions.h"

#include <QCommandLineParser>
#include <algorithm>
#include <iterator>

namespace {

constexpr unsigned Bit(Mode mode) { return 1u << static_cast<unsigned>(mode); }

struct OptionInfo {
    const char* names;  // its names, split by commas (an option with a value has one)
    const char* needs;  // its value, as told when it is missing ("--gdb needs HOST:PORT"); null for a switch
    Mode selects;       // the mode it asks for; Window for none
    unsigned takenBy;   // the modes that take it (Bit of each)
};

// In the order of Option, one for each.
const OptionInfo kOptions[] = {
    {"h,help", nullptr, Mode::Help, 0},
    {"version", nullptr, Mode::Version, 0},
    {"check", nullptr, Mode::Check, Bit(Mode::Check)},
    {"dump", nullptr, Mode::Dump, Bit(Mode::Dump)},
    {"decode", nullptr, Mode::Decode, Bit(Mode::Decode)},
    {"read", nullptr, Mode::Target, Bit(Mode::Target)},
    {"write", nullptr, Mode::Target, Bit(Mode::Target)},
    {"desktop", nullptr, Mode::Window, Bit(Mode::Window)},
    {"gdb", "HOST:PORT", Mode::Window, Bit(Mode::Window) | Bit(Mode::Target)},
    {"trace", "FILE", Mode::Window, Bit(Mode::Target)},
    {"base", "a value", Mode::Window, Bit(Mode::Decode)},
    {"changed", nullptr, Mode::Window, Bit(Mode::Decode)},
    {"against", "a value", Mode::Window, Bit(Mode::Decode)},
    {"core", "NAME", Mode::Window,
     Bit(Mode::Window) | Bit(Mode::Check) | Bit(Mode::Dump) | Bit(Mode::Decode) | Bit(Mode::Target)},
    {"fault", nullptr, Mode::Target, Bit(Mode::Decode) | Bit(Mode::Target)},
    {"as", "a format", Mode::Window, Bit(Mode::Decode)},
    {"list-devices", nullptr, Mode::ListDevices, Bit(Mode::ListDevices)},
    {"device", "NAME[:PROCESSOR]", Mode::Window,
     Bit(Mode::Window) | Bit(Mode::Check) | Bit(Mode::Dump) | Bit(Mode::Decode) | Bit(Mode::Target)},
};
static_assert(std::size(kOptions) == kOptionCount, "one entry for each Option");

// The option name an argument gives ("gdb" for "--gdb" or "-gdb=x"); empty for none.
QString NameIn(const QString& argument) {
    const qsizetype dashes = argument.startsWith(u"--") ? 2 : argument.startsWith(u'-') ? 1 : 0;
    return dashes ? argument.mid(dashes).section(u'=', 0, 0) : QString();
}

}  // namespace

CParsedOptions::CParsedOptions(const std::vector<std::string>& arguments) {
    QCommandLineParser parser;
    // One dash names a whole word (-platform), so an unknown option is told as written.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionInfo& info : kOptions)
        parser.addOption(QCommandLineOption(QString::fromLatin1(info.names).split(u','), QString(),
                                            QString::fromLatin1(info.needs)));
    QStringList written;
    for (const std::string& argument : arguments) written << QString::fromStdString(argument);
    // parse(), not process(): what is wrong is told in tavlin's words, by Fault.
    parser.parse(written);

    // Finds each option again among the arguments, in order, to tell it as written.
    const auto writtenAs = [&written](const QString& name, qsizetype& at) -> QString {
        while (++at < written.size())
            if (NameIn(written[at]) == name) return written[at];
        return "--" + name;
    };
    qsizetype at = 0;
    for (const QString& name : parser.unknownOptionNames()) m_unknown.push_back(writtenAs(name, at).toStdString());
    if (written.indexOf(u"--", 1) > 0) m_unknown.emplace_back("--");  // no option either, not the end of them
    at = 0;
    for (const QString& name : parser.optionNames()) {
        const QString as = writtenAs(name, at);
        const auto info = std::find_if(std::begin(kOptions), std::end(kOptions), [&](const OptionInfo& o) {
            return QString::fromLatin1(o.names).split(u',').contains(name);
        });
        // Long names take two dashes, one letter one; no option takes its value after '='.
        if (as.startsWith(u"--") != (name.size() > 1) || as.contains(u'=')) {
            m_unknown.push_back(as.toStdString());
            continue;
        }
        const auto option = static_cast<std::size_t>(info - std::begin(kOptions));
        m_given.emplace_back(static_cast<Option>(option), as.toStdString());
        if (!info->needs) continue;
        // The argument itself, not its text through QString: a file name need not be UTF-8.
        m_values[option] = at + 1 < written.size() && written[at + 1] == parser.value(name)
                               ? arguments[static_cast<std::size_t>(at + 1)]
                               : parser.value(name).toStdString();
        // Only the last argument can lack its value: the parser takes the next one, whatever it is.
        if (at + 1 == written.size() || parser.values(name).isEmpty())
            m_missingValue = "--" + name.toStdString() + " needs " + info->needs;
    }
    // Each positional argument as given, found again in order among the arguments.
    qsizetype from = 0;
    for (const QString& positional : parser.positionalArguments()) {
        const qsizetype found = written.indexOf(positional, from + 1);
        m_positional.push_back(found > 0 ? arguments[static_cast<std::size_t>(found)] : positional.toStdString());
        if (found > 0) from = found;
    }
    const auto selecting = std::find_if(m_given.begin(), m_given.end(), [](const auto& given) {
        return kOptions[static_cast<std::size_t>(given.first)].selects != Mode::Window;
    });
    if (selecting != m_given.end()) m_mode = kOptions[static_cast<std::size_t>(selecting->first)].selects;
}

Status CParsedOptions::UsageError(Mode mode, bool windowSystemOptions) const {
    for (const std::string& unknown : m_unknown)
        if (!windowSystemOptions || unknown.starts_with("--"))
            return Status::Failure(ProblemCode::kUnknownOption, "unknown option " + unknown);
    for (const auto& [option, as] : m_given)
        if (!(kOptions[static_cast<std::size_t>(option)].takenBy & Bit(mode)))
            return Status::Failure(ProblemCode::kUnknownOption, "unknown option " + as);
    if (!m_missingValue.empty()) return Status::Failure(ProblemCode::kMissingOptionValue, m_missingValue);
    return Succeeded();
}

int CParsedOptions::Count(Option option) const {
    return static_cast<int>(std::count_if(m_given.begin(), m_given.end(),
                                          [option](const auto& given) { return given.first == option; }));
}
