// The command-language lexer on its own, against its promises: text fed in
// pieces (a line at a time, as standard input arrives, or split anywhere)
// gives the same commands as the whole text at once, and a word quoted by
// quoteIfNeeded reads back as that word.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/src/command/Lexer.h"

namespace {

using ehost::CommandSplitter;
using ehost::CommandText;
using ehost::SplitError;
using ehost::Token;

constexpr std::size_t kMaxText = 64 * 1024;

[[noreturn]] void broken(const char* promise, const std::string& detail) {
    std::fprintf(stderr, "lexer promise broken: %s\n%s\n", promise, detail.c_str());
    std::abort();
}

bool sameTokens(const std::vector<Token>& a, const std::vector<Token>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].kind != b[i].kind || a[i].text != b[i].text) return false;
    return true;
}

std::string describe(const std::vector<CommandText>& commands) {
    std::string out;
    for (const auto& c : commands) {
        out += "line " + std::to_string(c.line) + " [" + c.source + "]:";
        for (const auto& t : c.tokens)
            out += " " + std::to_string(static_cast<int>(t.kind)) + "<" + t.text + ">";
        out += "\n";
    }
    return out;
}

//! The text fed to a splitter in pieces whose lengths come from `cuts`.
bool splitInPieces(const std::string& text, const std::string& cuts, std::vector<CommandText>& out,
                   SplitError& error) {
    CommandSplitter splitter;
    std::size_t at = 0, k = 0;
    while (at < text.size()) {
        const std::size_t n =
            cuts.empty() ? 1 : 1 + static_cast<unsigned char>(cuts[k++ % cuts.size()]) % 8;
        splitter.feed(std::string_view(text).substr(at, n));
        at += n;
        for (auto& c : splitter.take()) out.push_back(std::move(c));
    }
    const bool ok = splitter.finish(error);
    for (auto& c : splitter.take()) out.push_back(std::move(c));
    return ok;
}

//! The text a line at a time, each line followed by its line end (LineFeed's way).
bool splitByLines(const std::string& text, std::vector<CommandText>& out, SplitError& error) {
    CommandSplitter splitter;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            splitter.feed(std::string_view(text).substr(at));
            break;
        }
        splitter.feed(std::string_view(text).substr(at, end - at));
        splitter.feed("\n");
        at = end + 1;
        for (auto& c : splitter.take()) out.push_back(std::move(c));
    }
    const bool ok = splitter.finish(error);
    for (auto& c : splitter.take()) out.push_back(std::move(c));
    return ok;
}

void expectSame(const char* how, const std::string& text, bool okWhole,
                const std::vector<CommandText>& whole, const SplitError& errorWhole, bool ok,
                const std::vector<CommandText>& pieces, const SplitError& error) {
    if (ok != okWhole || error.line != errorWhole.line || error.reason != errorWhole.reason ||
        error.unterminated != errorWhole.unterminated)
        broken(how, "text [" + text + "]: whole " + errorWhole.reason + ", pieces " + error.reason);
    // A text that does not split runs nothing, whatever was completed before the fault.
    if (!ok) return;
    bool same = whole.size() == pieces.size();
    for (std::size_t i = 0; same && i < whole.size(); ++i)
        same = whole[i].line == pieces[i].line && whole[i].source == pieces[i].source &&
               sameTokens(whole[i].tokens, pieces[i].tokens);
    if (!same)
        broken(how,
               "text [" + text + "]\nwhole:\n" + describe(whole) + "pieces:\n" + describe(pieces));
}

//! quoteIfNeeded's word, after a command name, reads back as one word with the same text.
void expectQuotedReadsBack(const std::string& word) {
    std::vector<CommandText> commands;
    SplitError error;
    const std::string quoted = ehost::quoteIfNeeded(word);
    const std::string text = "cmd " + quoted;
    const bool ok = ehost::splitCommands(text, commands, error);
    // Left plain, a word reads as a flag exactly when it looks like one.
    const Token::Kind kind = quoted != word            ? Token::Kind::String
                             : ehost::isFlagWord(word) ? Token::Kind::Flag
                                                       : Token::Kind::Word;
    if (!ok || commands.size() != 1 || commands[0].tokens.size() != 2 ||
        commands[0].tokens[1].text != word || commands[0].tokens[1].kind != kind)
        broken("quoteIfNeeded reads back", "word [" + word + "] as [" + text + "] reads as:\n" +
                                               (ok ? describe(commands) : error.reason));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxText) return 0;
    // The first bytes choose where the text is cut into pieces.
    const std::size_t cutBytes = size > 0 ? std::min<std::size_t>(data[0] % 16, size - 1) : 0;
    const std::string cuts(reinterpret_cast<const char*>(data) + (size ? 1 : 0), cutBytes);
    const std::string text(reinterpret_cast<const char*>(data) + (size ? 1 : 0) + cutBytes,
                           size ? size - 1 - cutBytes : 0);

    std::vector<CommandText> whole;
    SplitError errorWhole;
    const bool okWhole = ehost::splitCommands(text, whole, errorWhole);

    std::vector<CommandText> pieces;
    SplitError errorPieces;
    const bool okPieces = splitInPieces(text, cuts, pieces, errorPieces);
    expectSame("pieces give the whole text's commands", text, okWhole, whole, errorWhole, okPieces,
               pieces, errorPieces);

    std::vector<CommandText> lines;
    SplitError errorLines;
    const bool okLines = splitByLines(text, lines, errorLines);
    expectSame("lines give the whole text's commands", text, okWhole, whole, errorWhole, okLines,
               lines, errorLines);

    expectQuotedReadsBack(text);
    for (const auto& command : whole)
        for (const auto& token : command.tokens) expectQuotedReadsBack(token.text);
    return 0;
}
