#include "host/src/core/Preferences.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>

#include "host/src/core/NumberText.h"

namespace ehost {

int OptionValue::asInt() const {
    switch (kind) {
        case Kind::Int:
            return i;
        case Kind::Double:
            return static_cast<int>(d);
        case Kind::String:
            return std::atoi(s.c_str());
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

MStatus Preferences::set(const std::string& name, OptionValue value) {
    if (name.empty()) return MStatus(MStatus::kInvalidParameter, "an option variable needs a name");
    values_[name] = {std::move(value)};
    return save();
}

MStatus Preferences::append(const std::string& name, OptionValue value) {
    if (name.empty()) return MStatus(MStatus::kInvalidParameter, "an option variable needs a name");
    values_[name].push_back(std::move(value));
    return save();
}

bool Preferences::remove(const std::string& name) {
    if (!values_.erase(name)) return false;
    save();
    return true;
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

bool fromJson(const nlohmann::json& j, OptionValue& out) {
    if (!j.is_object() || j.size() != 1) return false;
    if (j.contains("int") && j["int"].is_number_integer()) {
        out = OptionValue::ofInt(j["int"].get<int>());
        return true;
    }
    if (j.contains("double") && j["double"].is_string()) {
        double d;
        if (!parseDouble(j["double"].get<std::string>(), d)) return false;
        out = OptionValue::ofDouble(d);
        return true;
    }
    if (j.contains("string") && j["string"].is_string()) {
        out = OptionValue::ofString(j["string"].get<std::string>());
        return true;
    }
    return false;
}

}  // namespace

void Preferences::load() {
    if (file_.empty()) return;
    std::ifstream in(file_);
    if (!in) return;  // a fresh installation
    nlohmann::json doc = nlohmann::json::parse(in, nullptr, false);
    if (doc.is_discarded() || !doc.is_object()) {
        std::cerr << "// Warning: preferences file " << file_
                  << " is unreadable; starting with no option variables //" << std::endl;
        return;
    }
    for (auto& [name, list] : doc.items()) {
        if (!list.is_array()) continue;
        std::vector<OptionValue> values;
        for (auto& item : list) {
            OptionValue v;
            if (fromJson(item, v)) values.push_back(std::move(v));
        }
        values_[name] = std::move(values);
    }
}

MStatus Preferences::save() const {
    if (file_.empty()) return MStatus::kSuccess;
    nlohmann::json doc = nlohmann::json::object();
    for (auto& [name, list] : values_) {
        nlohmann::json arr = nlohmann::json::array();
        for (auto& v : list) arr.push_back(toJson(v));
        doc[name] = arr;
    }
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(file_).parent_path(), ec);
    // Written aside and renamed, so that a failed write never loses the old file.
    std::string tmp = file_ + ".tmp";
    {
        std::ofstream out(tmp, std::ios::trunc);
        out << doc.dump(1) << '\n';
        if (!out.good()) return MStatus(MStatus::kFailure, "cannot write preferences file " + tmp);
    }
    if (std::rename(tmp.c_str(), file_.c_str()) != 0)
        return MStatus(MStatus::kFailure, "cannot replace preferences file " + file_);
    return MStatus::kSuccess;
}

}  // namespace ehost
