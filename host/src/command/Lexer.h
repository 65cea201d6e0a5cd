#pragma once
// Splitting command-language text into commands and their words.
//
// Commands end at ';' or a line end; "//" starts a comment to the end of the
// line and "/* */" a block comment; "..." is a string with \" \\ \n \t
// escapes. A word starting with '-' and a letter is a flag; a lone '-'
// followed by a word joins it ("- am" reads as the flag "-am"); "-1.5" is a
// number.

#include <string>
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

bool splitCommands(const std::string& text, std::vector<CommandText>& out, SplitError& error);
//! The same, with "line N: reason" in error when the text cannot be split.
bool splitCommands(const std::string& text, std::vector<CommandText>& out, std::string& error);

//! The text quoted for command text when needed ("a b" -> "\"a b\"").
std::string quoteIfNeeded(const std::string& word);

}  // namespace ehost
