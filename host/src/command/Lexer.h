#pragma once
// Splitting command-language text into commands and their words.
//
// Commands end at ';' or a line end; "//" starts a comment to the end of the
// line and "/* */" a block comment; "..." is a string with \" \\ \n \t
// escapes. A word starting with '-' and a letter is a flag, unless it is a
// number ("-inf", "-nan"); a lone '-' followed by a word joins it ("- am"
// reads as the flag "-am"); "-1.5" is a number.

#include <string>
#include <string_view>
#include <vector>

namespace ehost {

struct Token {
    enum class Kind { Word, String, Flag };
    Kind kind = Kind::Word;
    std::string text;
};

struct CommandText {
    std::vector<Token> tokens;  // tokens[0] is the command name
    int line = 1;               // line of the command's first word
    std::string source;         // the command as written
};

//! Why a text could not be split into commands.
struct SplitError {
    int line = 0;  // where the fault starts
    std::string reason;
    //! A string or comment is still open: more text may complete it.
    bool unterminated = false;
};

//! Whether an unquoted word is a flag: '-' and a letter, and not a number.
bool isFlagWord(std::string_view word);

//! Splits text that arrives in pieces (standard input, a line at a time).
//! Each piece is lexed once, where the last one left off, so a string or a
//! comment left open over many lines costs no more per line than any other
//! line. Line numbers count from the first piece.
class CommandSplitter {
public:
    //! Lexes as far as the text so far allows.
    void feed(std::string_view text);
    //! Whether the text so far ends inside a string or a block comment.
    bool open() const { return state_ == State::InString || state_ == State::InComment; }
    //! The text has ended: completes the last command. False when a string
    //! or comment is still open.
    bool finish(SplitError& error);
    //! The commands completed so far, handed over in order.
    std::vector<CommandText> take();

private:
    enum class State { Normal, InString, InComment, InLineComment };

    void lex();
    bool continueString();
    bool continueComment();
    bool continueLineComment();
    bool readWord();
    void begin();
    void endCommand();
    void dropConsumedText();
    char peek(size_t ahead) const {
        return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
    }

    std::string text_;  // from the start of the command being read
    size_t pos_ = 0, start_ = 0;
    int line_ = 1, openedLine_ = 0;
    State state_ = State::Normal;
    bool final_ = false, started_ = false, pendingDash_ = false;
    std::string string_;  // the string being read
    CommandText current_;
    std::vector<CommandText> done_;
};

bool splitCommands(const std::string& text, std::vector<CommandText>& out, SplitError& error);
//! The same, with "line N: reason" in error when the text cannot be split.
bool splitCommands(const std::string& text, std::vector<CommandText>& out, std::string& error);

//! The text as a quoted string of command text ("a b" -> "\"a b\"").
std::string quoted(const std::string& text);
//! The text quoted for command text when needed ("a b" -> "\"a b\"").
std::string quoteIfNeeded(const std::string& word);

}  // namespace ehost
