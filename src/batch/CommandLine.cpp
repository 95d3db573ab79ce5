#include "CommandLine.h"

#include <algorithm>
#include <stdexcept>

namespace kavrin {

namespace {

std::vector<std::string_view> kindsOf(const CommandForm& form)
{
    std::vector<std::string_view> kinds;
    for (std::string_view rest = form.kinds; !rest.empty();) {
        const std::size_t bar = std::min(rest.find('|'), rest.size());
        kinds.push_back(rest.substr(0, bar));
        rest.remove_prefix(std::min(bar + 1, rest.size()));
    }
    return kinds;
}

// "A", "A or B", "A, B or C".
std::string alternatives(const std::vector<std::string>& items)
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) text += (i == 0 ? "" : i + 1 == items.size() ? " or " : ", ") + items[i];
    return text;
}

// "--time TEXT", "--all".
std::string spelled(const CommandOption& option)
{
    std::string text(option.name);
    if (!option.value.empty()) text.append(" ").append(option.value);
    return text;
}

// An item of the usage: "[optional]", "(one | of | these)" or "required".
std::string enclosed(std::string item, const char* brackets)
{
    item.insert(item.begin(), brackets[0]);
    item.push_back(brackets[1]);
    return item;
}

// The options of `form` in `option`'s choice (`option` alone when it is in none).
std::vector<const CommandOption*> choiceOf(const CommandForm& form, const CommandOption& option)
{
    std::vector<const CommandOption*> members;
    for (const CommandOption& other : form.options)
        if (&other == &option || (option.choice != 0 && other.choice == option.choice)) members.push_back(&other);
    return members;
}

// The one form of `command` that the words start with.
const CommandForm& formOf(std::span<const CommandForm> forms, std::string_view command, const std::vector<std::string>& words)
{
    std::vector<std::string> allKinds;
    for (const CommandForm& form : forms) {
        if (form.command != command) continue;
        if (form.kinds.empty()) return form;
        for (std::string_view kind : kindsOf(form)) {
            if (!words.empty() && words[0] == kind) return form;
            allKinds.emplace_back(kind);
        }
    }
    if (allKinds.empty()) throw std::logic_error("no command line table for " + std::string(command));
    throw std::invalid_argument(std::string(command) + " takes " + alternatives(allKinds) + " first");
}

}  // namespace

bool ParsedCommandLine::given(std::string_view option) const
{
    return std::any_of(given_.begin(), given_.end(), [&](const auto& pair) { return pair.first == option; });
}

std::optional<std::string> ParsedCommandLine::value(std::string_view option) const
{
    for (const auto& [name, text] : given_)
        if (name == option) return text;
    return std::nullopt;
}

std::vector<std::string> ParsedCommandLine::values(std::string_view option) const
{
    std::vector<std::string> texts;
    for (const auto& [name, text] : given_)
        if (name == option) texts.push_back(text);
    return texts;
}

ParsedCommandLine ParseCommandLine(std::span<const CommandForm> forms, std::string_view command,
                                   const std::vector<std::string>& words)
{
    const CommandForm& form = formOf(forms, command, words);
    ParsedCommandLine parsed;
    std::size_t first = 0;
    std::string label(command);
    if (!form.kinds.empty()) {
        parsed.kind_ = words[first++];
        label += " " + parsed.kind_;
    }
    for (std::size_t i = first; i < words.size(); ++i) {
        const std::string& word = words[i];
        const auto option =
            std::find_if(form.options.begin(), form.options.end(), [&](const CommandOption& row) { return row.name == word; });
        if (option == form.options.end() && !form.operands.empty() && word.rfind("--", 0) != 0) {
            parsed.operands_.push_back(word);
            continue;
        }
        if (option == form.options.end()) throw std::invalid_argument("unknown option \"" + word + "\" for " + label);
        std::string value;
        if (!option->value.empty()) {
            if (i + 1 >= words.size()) throw std::invalid_argument(word + " needs a value");
            value = words[++i];
        }
        for (const CommandOption* member : choiceOf(form, *option)) {
            if ((member == &*option && option->repeats) || !parsed.given(member->name)) continue;
            if (member == &*option) throw std::invalid_argument(word + " is given twice");
            const bool memberFirst = member < &*option;
            throw std::invalid_argument(std::string(memberFirst ? member->name : option->name) + " and " +
                                        std::string(memberFirst ? option->name : member->name) + " cannot be used together");
        }
        parsed.given_.emplace_back(option->name, std::move(value));
    }
    for (const CommandOption& option : form.options) {
        if (!option.required) continue;
        const std::vector<const CommandOption*> members = choiceOf(form, option);
        if (std::any_of(members.begin(), members.end(), [&](const CommandOption* member) { return parsed.given(member->name); }))
            continue;
        std::vector<std::string> needed;
        for (const CommandOption* member : members) needed.push_back(spelled(*member));
        throw std::invalid_argument(label + " needs " + alternatives(needed));
    }
    if (!form.operands.empty() && parsed.operands_.empty())
        throw std::invalid_argument(label + " needs " + std::string(form.operands));
    return parsed;
}

std::string UsageOf(std::span<const CommandForm> forms, std::size_t width)
{
    std::string usage;
    for (const CommandForm& form : forms) {
        std::string line(usage.empty() ? "usage: " : "       ");
        line.append("kavrin-batch ").append(form.command);
        if (!form.kinds.empty()) line.append(" ").append(form.kinds);
        if (!form.operands.empty()) line.append(" ").append(form.operands);
        const std::size_t indent = line.size() + 1;
        bool lineHasItems = false;
        for (std::size_t i = 0; i < form.options.size();) {
            const CommandOption& option = form.options[i];
            std::string item;
            const std::vector<const CommandOption*> members = choiceOf(form, option);
            if (members.size() > 1) {
                for (const CommandOption* member : members) item += (item.empty() ? "" : " | ") + spelled(*member);
                item = enclosed(item, option.required ? "()" : "[]");
            } else {
                item = option.required ? spelled(option) : enclosed(spelled(option), "[]");
                if (option.repeats) item += "...";
            }
            i += members.size();
            if (lineHasItems && line.size() + 1 + item.size() > width) {
                usage += line + "\n";
                line = std::string(indent - 1, ' ');
            }
            line += " " + item;
            lineHasItems = true;
        }
        usage += line + "\n";
    }
    return usage;
}

}  // namespace kavrin
