// The page's messages as the studio reads them: what each one runs on the
// host, and the reason a message is refused before anything runs.

#include <gtest/gtest.h>

#include "studio/Requests.h"

namespace {

using namespace tessark_studio;

Request parsed(const std::string& text) {
    Request r;
    std::string why;
    EXPECT_TRUE(parseRequest(text, r, why)) << text << ": " << why;
    return r;
}

std::string refusal(const std::string& text) {
    Request r;
    std::string why;
    EXPECT_FALSE(parseRequest(text, r, why)) << text;
    return why;
}

TEST(StudioRequests, PointerEventsBecomeHostInputCommands) {
    Request r = parsed(
        R"({"type":"pointer","event":"press","button":"left","x":12,"y":34.5,"shift":true})");
    EXPECT_EQ(commandText(std::get<PointerRequest>(r)),
              "hostInput -press -button left -x 12 -y 34.5 -shift");
    r = parsed(R"({"type":"pointer","event":"drag","button":"middle","x":1,"y":2,"ctrl":true})");
    EXPECT_EQ(commandText(std::get<PointerRequest>(r)),
              "hostInput -drag -button middle -x 1 -y 2 -ctrl");
    r = parsed(R"({"type":"pointer","event":"release","button":"left","x":0,"y":0,)"
               R"("shift":true,"ctrl":true})");
    EXPECT_EQ(commandText(std::get<PointerRequest>(r)),
              "hostInput -release -button left -x 0 -y 0 -shift -ctrl");
    r = parsed(R"({"type":"pointer","event":"move","button":"left","x":5,"y":6})");
    EXPECT_EQ(commandText(std::get<PointerRequest>(r)), "hostInput -move -button left -x 5 -y 6");
}

TEST(StudioRequests, KeysUndoCameraAndPort) {
    EXPECT_EQ(commandText(std::get<KeyRequest>(parsed(R"({"type":"key","key":"enter"})"))),
              "hostInput -key enter");
    EXPECT_EQ(commandText(std::get<KeyRequest>(parsed(R"({"type":"key","key":"backspace"})"))),
              "hostInput -key backspace");
    EXPECT_EQ(commandText(std::get<KeyRequest>(parsed(R"({"type":"key","key":"escape"})"))),
              "hostInput -key escape");
    EXPECT_EQ(commandText(std::get<UndoRequest>(parsed(R"({"type":"undo"})"))), "undo");
    EXPECT_EQ(commandText(std::get<UndoRequest>(parsed(R"({"type":"redo"})"))), "redo");
    EXPECT_EQ(commandText(std::get<CameraRequest>(parsed(
                  R"({"type":"camera","eye":[0,0.1,40],"lookAt":[1e-7,-2,0],"up":[0,1,0]})"))),
              "viewPlace -eye 0 0.1 40 -lookAt 1e-07 -2 0 -up 0 1 0");
    Request port = parsed(R"({"type":"hello","width":1030,"height":584})");
    EXPECT_TRUE(std::get<PortRequest>(port).hello);
    EXPECT_EQ(commandText(std::get<PortRequest>(port)), "hostView -size 1030 584");
    EXPECT_FALSE(
        std::get<PortRequest>(parsed(R"({"type":"resize","width":1,"height":8192})")).hello);
    const auto command =
        std::get<CommandRequest>(parsed(R"({"type":"command","id":7,"text":"ls"})"));
    EXPECT_EQ(command.id, 7);
    EXPECT_EQ(command.text, "ls");
}

TEST(StudioRequests, MalformedMessagesAreRefusedWithTheirReason) {
    EXPECT_EQ(refusal("hostInput -k enter"), "the message is not JSON");
    EXPECT_EQ(refusal(R"({"type":"key","key":"enter")"), "the message is not JSON");
    EXPECT_EQ(refusal("[1,2]"), "the message is not a JSON object");
    EXPECT_EQ(refusal("{}"), "the message has no \"type\"");
    EXPECT_EQ(refusal(R"({"type":3})"), "\"type\" must be a string");
    EXPECT_EQ(refusal(R"({"type":"quit"})"), "unknown message type \"quit\"");
    EXPECT_EQ(refusal(R"({"type":"key","key":"space"})"),
              "\"key\" must be one of backspace, enter, escape (not \"space\")");
    EXPECT_EQ(refusal(R"({"type":"pointer","event":"tap","button":"left","x":1,"y":1})"),
              "\"event\" must be one of drag, move, press, release (not \"tap\")");
    EXPECT_EQ(refusal(R"({"type":"pointer","event":"press","button":"right","x":1,"y":1})"),
              "\"button\" must be one of left, middle (not \"right\")");
    EXPECT_EQ(refusal(R"({"type":"pointer","event":"press","button":"left","x":"1","y":1})"),
              "\"x\" must be a number");
    EXPECT_EQ(refusal(R"({"type":"pointer","event":"press","button":"left","x":1})"),
              "the message has no \"y\"");
    EXPECT_EQ(refusal(R"({"type":"pointer","event":"press","button":"left","x":1,"y":1,)"
                      R"("shift":"yes"})"),
              "\"shift\" must be true or false");
    EXPECT_EQ(refusal(R"({"type":"hello","width":0,"height":10})"),
              "\"width\" must be a whole number from 1 to 8192");
    EXPECT_EQ(refusal(R"({"type":"resize","width":10,"height":10.5})"),
              "\"height\" must be a whole number from 1 to 8192");
    EXPECT_EQ(refusal(R"({"type":"camera","eye":[0,0],"lookAt":[0,0,0],"up":[0,1,0]})"),
              "\"eye\" must be three numbers");
    EXPECT_EQ(refusal(R"({"type":"camera","eye":[0,0,1],"lookAt":[0,"a",0],"up":[0,1,0]})"),
              "\"lookAt\" must be three finite numbers");
    EXPECT_EQ(refusal(R"({"type":"command","id":1,"text":["ls"]})"), "\"text\" must be a string");
    EXPECT_EQ(refusal(R"({"type":"command","text":"ls"})"), "the message has no \"id\"");
}

TEST(StudioRequests, NumbersAndStringsForCommandText) {
    EXPECT_EQ(numberText(0.1), "0.1");
    EXPECT_EQ(numberText(-3), "-3");
    EXPECT_EQ(numberText(1.0 / 3), "0.3333333333333333");
    EXPECT_EQ(quoted("plain"), "\"plain\"");
    EXPECT_EQ(quoted("a \"b\" \\c\nd"), "\"a \\\"b\\\" \\\\c\\nd\"");
}

}  // namespace
