#include "host/src/core/Preferences.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <limits>
#include <nlohmann/json.hpp>

#include "host/src/core/Files.h"
#include "host/src/core/NumberText.h"
#include "host/src/core/Saturate.h"

namespace ehost {

int OptionValue::asInt() const {
    switch (kind) {
        case Kind::Int:
            return i;
        case Kind::Double:
            return saturatingCast<int>(d);
        case Kind::String:
            return saturatingCast<int>(std::strtod(s.c_str(), nullptr));
    }
    return 0;
}

double OptionValue::asDouble() const {
    switch (kind) {
        case Kind::Int:
            return i;
        case Kind::Double:
            return d;
        case Kind::String:
            return std::atof(s.c_str());
    }
    return 0;
}

std::string OptionValue::asString() const {
    switch (kind) {
        case Kind::Int:
            return std::to_string(i);
        case Kind::Double:
            return shortestText(d);
        case Kind::String:
            return s;
    }
    return {};
}

std::string preferencesDir(const std::string& given) {
    if (!given.empty()) return given;
    if (const char* env = std::getenv("TESSARK_PREFS"); env && *env) return env;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.tessark";
    return "";
}

Preferences::Preferences(std::string dir) {
    if (!dir.empty()) file_ = (std::filesystem::path(dir) / "optionVars.json").string();
    load();
}

const OptionValue* Preferences::find(const std::string& name) const {
    auto it = values_.find(name);
    return it == values_.end() || it->second.empty() ? nullptr : &it->second.front();
}

const std::vector<OptionValue>* Preferences::findList(const std::string& name) const {
    auto it = values_.find(name);
    return it == values_.end() ? nullptr : &it->second;
}

namespace {

bool sameValues(const std::vector<OptionValue>& a, const std::vector<OptionValue>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].kind != b[k].kind) return false;
        switch (a[k].kind) {
            case OptionValue::Kind::Int:
                if (a[k].i != b[k].i) return false;
                break;
            case OptionValue::Kind::Double:
                // Bit for bit: -0 and 0 print differently, and NaN is never the same.
                if (!(a[k].d == b[k].d && std::signbit(a[k].d) == std::signbit(b[k].d)))
                    return false;
                break;
            case OptionValue::Kind::String:
                if (a[k].s != b[k].s) return false;
                break;
        }
    }
    return true;
}

}  // namespace

MStatus Preferences::change(const std::string& name, std::optional<std::vector<OptionValue>> list) {
    auto it = values_.find(name);
    // Setting what is already there changes nothing: the file stays as it is
    // (a tool's prompts are set on every drag sample).
    if (!list && it == values_.end()) return MStatus::kSuccess;
    if (list && it != values_.end() && sameValues(it->second, *list)) return MStatus::kSuccess;
    std::optional<std::vector<OptionValue>> before;
    if (it != values_.end()) before = it->second;
    if (list)
        values_[name] = std::move(*list);
    else
        values_.erase(name);
    MStatus st = save();
    if (st) return st;
    if (before)
        values_[name] = std::move(*before);
    else
        values_.erase(name);
    return st;
}

MStatus Preferences::set(const std::string& name, OptionValue value) {
    if (name.empty()) return MStatus(MStatus::kInvalidParameter, "an option variable needs a name");
    return change(name, std::vector<OptionValue>{std::move(value)});
}

MStatus Preferences::append(const std::string& name, OptionValue value) {
    if (name.empty()) return MStatus(MStatus::kInvalidParameter, "an option variable needs a name");
    std::vector<OptionValue> list;
    if (auto* old = findList(name)) list = *old;
    list.push_back(std::move(value));
    return change(name, std::move(list));
}

MStatus Preferences::remove(const std::string& name) {
    if (!values_.count(name))
        return MStatus(MStatus::kNotFound, "no option variable named " + name);
    return change(name, std::nullopt);
}

std::vector<std::string> Preferences::names() const {
    std::vector<std::string> out;
    for (auto& [k, v] : values_) out.push_back(k);
    return out;
}

namespace {

nlohmann::json toJson(const OptionValue& v) {
    switch (v.kind) {
        case OptionValue::Kind::Int:
            return {{"int", v.i}};
        // Doubles are kept as text so that they read back bit for bit.
        case OptionValue::Kind::Double:
            return {{"double", shortestText(v.d)}};
        case OptionValue::Kind::String:
            return {{"string", v.s}};
    }
    return {};
}

//! One value of the file; false with what is wrong with it.
bool fromJson(const nlohmann::json& j, OptionValue& out, std::string& problem) {
    if (!j.is_object() || j.size() != 1) {
        problem =
            "a value is not of the form {\"int\": ...}, {\"double\": ...} or {\"string\": ...}";
        return false;
    }
    if (j.contains("int") && j["int"].is_number_integer()) {
        const nlohmann::json& n = j["int"];
        // Option variables hold 32-bit integers; a wider one is not cut short.
        const bool fits = n.is_number_unsigned()
                              ? n.get<std::uint64_t>() <= std::numeric_limits<int>::max()
                              : n.get<std::int64_t>() >= std::numeric_limits<int>::min() &&
                                    n.get<std::int64_t>() <= std::numeric_limits<int>::max();
        if (!fits) {
            problem = "the integer " + n.dump() + " is out of range (" +
                      std::to_string(std::numeric_limits<int>::min()) + " to " +
                      std::to_string(std::numeric_limits<int>::max()) + ")";
            return false;
        }
        out = OptionValue::ofInt(static_cast<int>(n.get<std::int64_t>()));
        return true;
    }
    if (j.contains("double") && j["double"].is_string()) {
        double d;
        if (!parseDouble(j["double"].get<std::string>(), d)) {
            problem = "\"" + j["double"].get<std::string>() + "\" is not a number";
            return false;
        }
        out = OptionValue::ofDouble(d);
        return true;
    }
    if (j.contains("string") && j["string"].is_string()) {
        out = OptionValue::ofString(j["string"].get<std::string>());
        return true;
    }
    problem = "the value " + j.dump() + " is of no known kind";
    return false;
}

//! nlohmann's message without its "[json.exception...] " tag.
std::string parseProblem(const std::exception& e) {
    std::string text = e.what();
    if (auto close = text.find("] "); !text.empty() && text[0] == '[' && close != std::string::npos)
        text = text.substr(close + 2);
    return text;
}

void warn(const std::string& text) {
    std::cerr << "// Warning: " << text << " //" << std::endl;
}

}  // namespace

void Preferences::load() {
    if (file_.empty()) return;
    struct stat st {};
    if (::lstat(file_.c_str(), &st) != 0 && errno == ENOENT) return;  // a fresh installation
    std::string error, text, reason;
    int fd = files::openForReading(file_, reason);
    if (fd < 0) {
        error = "cannot read " + file_ + ": " + reason;
    } else {
        if (!files::readAll(fd, text, reason)) error = "cannot read " + file_ + ": " + reason;
        ::close(fd);
    }
    if (!error.empty()) {
        untouchable_ = error;
        warn("preferences: " + error + "; option variables are kept for this session only");
        return;
    }
    nlohmann::json doc;
    try {
        doc = nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception& e) {
        keepDamagedFile(parseProblem(e), 0);
        return;
    }
    if (!doc.is_object()) {
        keepDamagedFile("it does not hold a JSON object", 0);
        return;
    }
    std::string problem;
    for (auto& [name, list] : doc.items()) {
        if (!list.is_array()) {
            if (problem.empty()) problem = name + ": the values are not a list";
            continue;
        }
        std::vector<OptionValue> values;
        bool whole = true;
        for (auto& item : list) {
            OptionValue v;
            std::string why;
            if (fromJson(item, v, why))
                values.push_back(std::move(v));
            else if (whole) {
                whole = false;
                if (problem.empty()) problem = name + ": " + why;
            }
        }
        // A list missing some of its values would not be what was saved.
        if (whole) values_[name] = std::move(values);
    }
    if (!problem.empty()) keepDamagedFile(problem, values_.size());
}

void Preferences::keepDamagedFile(const std::string& problem, std::size_t kept) {
    // Moved aside under a name of its own, so that the next save cannot
    // overwrite what may still be rescued by hand.
    std::string aside;
    for (int n = 1; n < 1000 && aside.empty(); ++n) {
        std::string candidate = file_ + ".damaged" + (n == 1 ? "" : "-" + std::to_string(n));
        struct stat st {};
        if (::lstat(candidate.c_str(), &st) != 0 && errno == ENOENT) aside = candidate;
    }
    const std::string head = "preferences file " + file_ + " is damaged (" + problem + ")";
    const std::string readable = kept == 0 ? "no option variables were read"
                                           : std::to_string(kept) + " option variable" +
                                                 (kept == 1 ? " was" : "s were") + " read from it";
    if (aside.empty() || std::rename(file_.c_str(), aside.c_str()) != 0) {
        untouchable_ = head + " and could not be moved aside";
        warn(head +
             "; it could not be moved aside, so it is left as it is and option "
             "variables are kept for this session only; " +
             readable);
        return;
    }
    warn(head + "; it is kept as " + aside + "; " + readable);
}

MStatus Preferences::save() const {
    if (file_.empty()) return MStatus::kSuccess;
    if (!untouchable_.empty())
        return MStatus(MStatus::kFailure, "the preferences file is left alone: " + untouchable_);
    nlohmann::json doc = nlohmann::json::object();
    for (auto& [name, list] : values_) {
        nlohmann::json arr = nlohmann::json::array();
        for (auto& v : list) arr.push_back(toJson(v));
        doc[name] = arr;
    }
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(file_).parent_path(), ec);
    files::AsideFile out(file_);
    std::string reason;
    bool saved = out.open(reason);
    if (saved) {
        out.write(doc.dump(1) + "\n");  // a failed write is reported by the commit
        saved = out.commit(reason);
    }
    if (!saved)
        return MStatus(MStatus::kFailure, "cannot save preferences file " + file_ + ": " + reason);
    return MStatus::kSuccess;
}

}  // namespace ehost
