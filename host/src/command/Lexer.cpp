#include "host/src/command/Lexer.h"

#include <cctype>

namespace ehost {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

class Splitter {
public:
    Splitter(const std::string& t, std::vector<CommandText>& o, SplitError& e)
        : text(t), out(o), error(e) {}

    bool run() {
        while (pos < text.size()) {
            char c = text[pos];
            if (c == '\n') {
                finish();
                ++line;
                ++pos;
            } else if (c == ';') {
                finish();
                ++pos;
            } else if (isSpace(c)) {
                ++pos;
            } else if (c == '/' && peek(1) == '/') {
                while (pos < text.size() && text[pos] != '\n') ++pos;
            } else if (c == '/' && peek(1) == '*') {
                if (!skipBlockComment()) return false;
            } else if (c == '"') {
                if (!readString()) return false;
            } else {
                readWord();
            }
        }
        finish();
        return true;
    }

private:
    char peek(size_t ahead) const { return pos + ahead < text.size() ? text[pos + ahead] : '\0'; }

    void begin() {
        if (current.tokens.empty()) {
            current.line = line;
            start = pos;
        }
    }

    void finish() {
        if (pendingDash) current.tokens.push_back({Token::Kind::Word, "-"});
        if (!current.tokens.empty()) {
            current.source = text.substr(start, pos - start);
            while (!current.source.empty() && isSpace(current.source.back()))
                current.source.pop_back();
            out.push_back(std::move(current));
        }
        current = CommandText();
        pendingDash = false;
    }

    bool skipBlockComment() {
        int opened = line;
        pos += 2;
        while (pos + 1 < text.size() && !(text[pos] == '*' && text[pos + 1] == '/')) {
            if (text[pos] == '\n') ++line;
            ++pos;
        }
        if (pos + 1 >= text.size()) {
            error = {opened, "unterminated comment", true};
            return false;
        }
        pos += 2;
        return true;
    }

    bool readString() {
        begin();
        int opened = line;
        std::string s;
        ++pos;
        while (true) {
            if (pos >= text.size()) {
                error = {opened, "unterminated string", true};
                return false;
            }
            char c = text[pos++];
            if (c == '"') break;
            if (c == '\n') ++line;
            if (c == '\\' && pos < text.size()) {
                char e = text[pos++];
                switch (e) {
                    case 'n':
                        s += '\n';
                        break;
                    case 't':
                        s += '\t';
                        break;
                    case 'r':
                        s += '\r';
                        break;
                    default:
                        s += e;
                        break;
                }
                continue;
            }
            s += c;
        }
        if (pendingDash) {
            // A lone dash before a string is a word of its own.
            current.tokens.push_back({Token::Kind::Word, "-"});
            pendingDash = false;
        }
        current.tokens.push_back({Token::Kind::String, s});
        return true;
    }

    void readWord() {
        begin();
        size_t b = pos;
        while (pos < text.size() && !isSpace(text[pos]) && text[pos] != '\n' && text[pos] != ';' &&
               text[pos] != '"' && !(text[pos] == '/' && (peek(1) == '/' || peek(1) == '*')))
            ++pos;
        std::string w = text.substr(b, pos - b);
        if (pendingDash) {
            pendingDash = false;
            if (std::isalpha(static_cast<unsigned char>(w[0]))) {
                current.tokens.push_back({Token::Kind::Flag, "-" + w});
                return;
            }
            current.tokens.push_back({Token::Kind::Word, "-"});
        }
        if (w == "-" && !current.tokens.empty()) {
            pendingDash = true;
            return;
        }
        bool flag = w.size() > 1 && w[0] == '-' && std::isalpha(static_cast<unsigned char>(w[1]));
        current.tokens.push_back({flag ? Token::Kind::Flag : Token::Kind::Word, w});
    }

    const std::string& text;
    std::vector<CommandText>& out;
    SplitError& error;
    CommandText current;
    size_t pos = 0, start = 0;
    int line = 1;
    bool pendingDash = false;
};

}  // namespace

bool splitCommands(const std::string& text, std::vector<CommandText>& out, SplitError& error) {
    out.clear();
    error = SplitError();
    return Splitter(text, out, error).run();
}

bool splitCommands(const std::string& text, std::vector<CommandText>& out, std::string& error) {
    SplitError why;
    if (splitCommands(text, out, why)) return true;
    error = "line " + std::to_string(why.line) + ": " + why.reason;
    return false;
}

std::string quoteIfNeeded(const std::string& word) {
    bool plain = !word.empty();
    for (char c : word)
        if (isSpace(c) || c == ';' || c == '"' || c == '\n' || c == '\\') plain = false;
    if (plain) return word;
    std::string q = "\"";
    for (char c : word) {
        if (c == '"' || c == '\\') q += '\\';
        if (c == '\n') {
            q += "\\n";
            continue;
        }
        q += c;
    }
    return q + "\"";
}

}  // namespace ehost
