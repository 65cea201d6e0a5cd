#include "host/src/command/Lexer.h"

#include <cctype>

#include "host/src/core/NumberText.h"

namespace ehost {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

bool startsWithLetter(std::string_view w) {
    return !w.empty() && std::isalpha(static_cast<unsigned char>(w[0]));
}

}  // namespace

bool isFlagWord(std::string_view word) {
    if (word.size() < 2 || word[0] != '-' || !startsWithLetter(word.substr(1))) return false;
    // "-inf" and "-nan" are values, as "inf" and "nan" are.
    double number;
    return !parseDouble(std::string(word), number);
}

void CommandSplitter::feed(std::string_view text) {
    dropConsumedText();
    text_.append(text);
    lex();
}

bool CommandSplitter::finish(SplitError& error) {
    final_ = true;
    lex();
    if (open()) {
        const bool inString = state_ == State::InString;
        error = {openedLine_, inString ? "unterminated string" : "unterminated comment", true};
        return false;
    }
    endCommand();
    return true;
}

std::vector<CommandText> CommandSplitter::take() {
    std::vector<CommandText> out;
    out.swap(done_);
    return out;
}

void CommandSplitter::dropConsumedText() {
    // Only the command being read needs its text (for its source).
    if (started_ || pos_ == 0) return;
    text_.erase(0, pos_);
    pos_ = 0;
}

void CommandSplitter::lex() {
    for (;;) {
        bool more = true;
        switch (state_) {
            case State::InString:
                more = continueString();
                break;
            case State::InComment:
                more = continueComment();
                break;
            case State::InLineComment:
                more = continueLineComment();
                break;
            case State::Normal: {
                if (pos_ >= text_.size()) return;
                const char c = text_[pos_];
                if (c == '\n') {
                    endCommand();
                    ++line_;
                    ++pos_;
                } else if (c == ';') {
                    endCommand();
                    ++pos_;
                } else if (isSpace(c)) {
                    ++pos_;
                } else if (c == '/' && pos_ + 1 >= text_.size() && !final_) {
                    return;  // the next piece may make it a comment
                } else if (c == '/' && peek(1) == '/') {
                    state_ = State::InLineComment;
                } else if (c == '/' && peek(1) == '*') {
                    openedLine_ = line_;
                    pos_ += 2;
                    state_ = State::InComment;
                } else if (c == '"') {
                    begin();
                    openedLine_ = line_;
                    string_.clear();
                    ++pos_;
                    state_ = State::InString;
                } else {
                    more = readWord();
                }
                break;
            }
        }
        if (!more) return;
    }
}

bool CommandSplitter::continueLineComment() {
    while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
    if (pos_ >= text_.size()) return false;
    state_ = State::Normal;
    return true;
}

bool CommandSplitter::continueComment() {
    while (pos_ + 1 < text_.size()) {
        if (text_[pos_] == '*' && text_[pos_ + 1] == '/') {
            pos_ += 2;
            state_ = State::Normal;
            return true;
        }
        if (text_[pos_] == '\n') ++line_;
        ++pos_;
    }
    return false;
}

bool CommandSplitter::continueString() {
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c == '"') {
            ++pos_;
            if (pendingDash_) {
                // A lone dash before a string is a word of its own.
                current_.tokens.push_back({Token::Kind::Word, "-"});
                pendingDash_ = false;
            }
            current_.tokens.push_back({Token::Kind::String, std::move(string_)});
            string_.clear();
            state_ = State::Normal;
            return true;
        }
        if (c == '\\') {
            if (pos_ + 1 >= text_.size()) {
                if (!final_) return false;  // the escaped character is still to come
                string_ += c;
                ++pos_;
                continue;
            }
            const char e = text_[pos_ + 1];
            pos_ += 2;
            if (e == '\n') ++line_;
            string_ += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
            continue;
        }
        if (c == '\n') ++line_;
        string_ += c;
        ++pos_;
    }
    return false;
}

bool CommandSplitter::readWord() {
    begin();
    const size_t b = pos_;
    while (pos_ < text_.size() && !isSpace(text_[pos_]) && text_[pos_] != '\n' &&
           text_[pos_] != ';' && text_[pos_] != '"' &&
           !(text_[pos_] == '/' && (peek(1) == '/' || peek(1) == '*')))
        ++pos_;
    if (pos_ >= text_.size() && !final_) {
        pos_ = b;  // the word may go on in the next piece
        return false;
    }
    std::string w = text_.substr(b, pos_ - b);
    if (pendingDash_) {
        pendingDash_ = false;
        if (startsWithLetter(w) && isFlagWord("-" + w)) {
            current_.tokens.push_back({Token::Kind::Flag, "-" + w});
            return true;
        }
        current_.tokens.push_back({Token::Kind::Word, "-"});
    }
    if (w == "-" && !current_.tokens.empty()) {
        pendingDash_ = true;
        return true;
    }
    const bool flag = isFlagWord(w);
    current_.tokens.push_back({flag ? Token::Kind::Flag : Token::Kind::Word, std::move(w)});
    return true;
}

void CommandSplitter::begin() {
    if (started_) return;
    started_ = true;
    current_.line = line_;
    start_ = pos_;
}

void CommandSplitter::endCommand() {
    if (pendingDash_) current_.tokens.push_back({Token::Kind::Word, "-"});
    if (!current_.tokens.empty()) {
        current_.source = text_.substr(start_, pos_ - start_);
        while (!current_.source.empty() && isSpace(current_.source.back()))
            current_.source.pop_back();
        done_.push_back(std::move(current_));
    }
    current_ = CommandText();
    pendingDash_ = false;
    started_ = false;
}

bool splitCommands(const std::string& text, std::vector<CommandText>& out, SplitError& error) {
    error = SplitError();
    CommandSplitter splitter;
    splitter.feed(text);
    const bool ok = splitter.finish(error);
    out = splitter.take();
    return ok;
}

bool splitCommands(const std::string& text, std::vector<CommandText>& out, std::string& error) {
    SplitError why;
    if (splitCommands(text, out, why)) return true;
    error = "line " + std::to_string(why.line) + ": " + why.reason;
    return false;
}

std::string quoted(const std::string& text) {
    std::string q = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') q += '\\';
        if (c == '\n') {
            q += "\\n";
            continue;
        }
        q += c;
    }
    return q + "\"";
}

std::string quoteIfNeeded(const std::string& word) {
    bool plain = !word.empty();
    for (char c : word)
        if (isSpace(c) || c == ';' || c == '"' || c == '\n' || c == '\\') plain = false;
    // Left plain, "//" or "/*" would start a comment and cut the word short.
    if (word.find("//") != std::string::npos || word.find("/*") != std::string::npos) plain = false;
    return plain ? word : quoted(word);
}

}  // namespace ehost
