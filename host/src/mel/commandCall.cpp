#include "host/mel.h"

#include "host/messages.h"
#include "mel/interpreter.h"

namespace host {

const MelFlag* MelSyntax::find(const std::string& name) const {
    for (const MelFlag& f : flags)
        if (f.shortName == name || f.longName == name)
            return &f;
    return nullptr;
}

MelCall::MelCall(std::string command, std::string sourceName, int line)
    : command_(std::move(command)), sourceName_(std::move(sourceName)), line_(line) {}

std::string MelCall::where() const {
    std::string where = "line " + std::to_string(line_);
    return sourceName_.empty() ? where : sourceName_ + " " + where;
}

void MelCall::error(const std::string& text) {
    failed_ = true;
    if (!mel::Interpreter::instance().quiet())
        displayMessage(MessageKind::kError, where() + ": " + text);
}

void MelCall::warning(const std::string& text) {
    if (!mel::Interpreter::instance().quiet())
        displayMessage(MessageKind::kWarning, where() + ": " + text);
}

bool MelCall::bind(const MelSyntax& syntax, std::vector<MelArg> raw) {
    syntax_ = &syntax;
    raw_ = std::move(raw);
    // The mode flags count wherever they stand: `menu -label -q name` queries too.
    auto isQueryFlag = [&](const MelArg& a) {
        return a.isFlag && syntax.queryable && (a.flag == "q" || a.flag == "query") &&
               !syntax.find(a.flag);
    };
    auto isEditFlag = [&](const MelArg& a) {
        return a.isFlag && syntax.editable && (a.flag == "e" || a.flag == "edit") &&
               !syntax.find(a.flag);
    };
    for (const MelArg& a : raw_) {
        query_ = query_ || isQueryFlag(a);
        edit_ = edit_ || isEditFlag(a);
    }
    if (query_ && edit_) {
        error(command_ + ": -query and -edit cannot be used together.");
        return false;
    }
    for (std::size_t i = 0; i < raw_.size(); ++i) {
        const MelArg& a = raw_[i];
        if (!a.isFlag) {
            positional_.push_back(a.value);
            continue;
        }
        if (isQueryFlag(a) || isEditFlag(a))
            continue;
        const MelFlag* flag = syntax.find(a.flag);
        if (syntax.rawArguments) {
            flags_.push_back({flag ? flag->longName : a.flag, {}});
            continue;
        }
        if (!flag) {
            error(command_ + ": Invalid flag '-" + a.flag + "'.");
            return false;
        }
        int n = query_ ? 0 : flag->numValues;
        FlagUse use{flag->longName, {}};
        for (int k = 1; k <= n; ++k) {
            if (i + k >= raw_.size() || raw_[i + k].isFlag) {
                error(command_ + ": Flag '-" + a.flag + "' needs " + std::to_string(n) +
                      (n == 1 ? " value." : " values."));
                return false;
            }
            use.values.push_back(raw_[i + k].value);
        }
        i += static_cast<std::size_t>(n);
        flags_.push_back(std::move(use));
    }
    int count = static_cast<int>(positional_.size());
    if (count < syntax.minPositional) {
        error(command_ + ": needs at least " + std::to_string(syntax.minPositional) +
              (syntax.minPositional == 1 ? " argument." : " arguments."));
        return false;
    }
    if (syntax.maxPositional >= 0 && count > syntax.maxPositional) {
        error(command_ + ": too many arguments (at most " + std::to_string(syntax.maxPositional) +
              ").");
        return false;
    }
    return true;
}

const MelFlag* MelCall::lookup(const std::string& flag) const {
    return syntax_ ? syntax_->find(flag) : nullptr;
}

bool MelCall::has(const std::string& flag) const {
    const MelFlag* f = lookup(flag);
    if (!f)
        return false;
    for (const FlagUse& use : flags_)
        if (use.longName == f->longName)
            return true;
    return false;
}

const std::vector<MelValue>& MelCall::values(const std::string& flag) const {
    static const std::vector<MelValue> none;
    const MelFlag* f = lookup(flag);
    if (!f)
        return none;
    for (auto it = flags_.rbegin(); it != flags_.rend(); ++it)
        if (it->longName == f->longName)
            return it->values;
    return none;
}

std::vector<std::vector<MelValue>> MelCall::uses(const std::string& flag) const {
    std::vector<std::vector<MelValue>> result;
    const MelFlag* f = lookup(flag);
    if (!f)
        return result;
    for (const FlagUse& use : flags_)
        if (use.longName == f->longName)
            result.push_back(use.values);
    return result;
}

std::string MelCall::stringValue(const std::string& flag, const std::string& fallback) const {
    const auto& v = values(flag);
    return has(flag) && !v.empty() ? v.front().asString() : fallback;
}

int MelCall::intValue(const std::string& flag, int fallback) const {
    const auto& v = values(flag);
    return has(flag) && !v.empty() ? v.front().asInt() : fallback;
}

double MelCall::floatValue(const std::string& flag, double fallback) const {
    const auto& v = values(flag);
    return has(flag) && !v.empty() ? v.front().asFloat() : fallback;
}

bool MelCall::boolValue(const std::string& flag, bool fallback) const {
    const auto& v = values(flag);
    return has(flag) && !v.empty() ? v.front().asBool() : fallback;
}

} // namespace host
