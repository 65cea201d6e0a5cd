#pragma once
// The rail tool's prompt lines, as the viewport shows them.

namespace tessark::tool::prompt {

inline constexpr const char* kDefaultHint =
    "Click+Drag = draw strokes on source surface, ENTER = complete, MIDDLE+clik to merge border "
    "points";
inline constexpr const char* kActivated = "Tessark activated";

}  // namespace tessark::tool::prompt
