#pragma once
// Option variables: typed values kept in a preferences file, so that they
// survive the session. A fresh installation has none. Every change is saved
// at once (written aside and renamed); a change that cannot be saved is
// taken back. A damaged file is moved aside, never overwritten.

#include <maya/MStatus.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ehost {

struct OptionValue {
    enum class Kind { Int, Double, String } kind = Kind::Int;
    int i = 0;
    double d = 0;
    std::string s;

    static OptionValue ofInt(int v) { return {Kind::Int, v, 0, {}}; }
    static OptionValue ofDouble(double v) { return {Kind::Double, 0, v, {}}; }
    static OptionValue ofString(std::string v) { return {Kind::String, 0, 0, std::move(v)}; }
    int asInt() const;
    double asDouble() const;
    std::string asString() const;
};

class Preferences {
public:
    //! Keeps its file in dir ("" keeps the values in memory only).
    explicit Preferences(std::string dir);

    const OptionValue* find(const std::string& name) const;
    //! Every value is a list; scalars are lists of one. Appending keeps the kind.
    const std::vector<OptionValue>* findList(const std::string& name) const;
    MStatus set(const std::string& name, OptionValue value);
    MStatus append(const std::string& name, OptionValue value);
    //! kNotFound when there is no such variable.
    MStatus remove(const std::string& name);
    std::vector<std::string> names() const;
    const std::string& file() const { return file_; }

private:
    void load();
    void keepDamagedFile(const std::string& problem, std::size_t kept);
    MStatus save() const;
    //! Applies a change, saves, and takes the change back when the save fails.
    MStatus change(const std::string& name, std::optional<std::vector<OptionValue>> list);

    std::string file_;
    std::map<std::string, std::vector<OptionValue>> values_;
    //! Why the file must be left alone (it could not be read or moved aside).
    std::string untouchable_;
};

//! The preferences directory: the given one, else $TESSARK_PREFS, else
//! $HOME/.tessark.
std::string preferencesDir(const std::string& given);

//! The running session's option variables.
Preferences& thePrefs();

}  // namespace ehost
