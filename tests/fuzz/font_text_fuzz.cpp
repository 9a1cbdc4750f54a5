#include <cstring>
#include <string>

#include "harnesses.h"
#include "znGLBitmapFont.h"
#include "znRecord.h"
#include "znRenderContext.h"

namespace {

size_t count(const char* name) {
    return znRecord::callsNamed(name).size();
}

} // namespace

bool znFuzz::fontText(const uint8_t* data, size_t size) {
    if (size < 4)
        return true;
    const int height = static_cast<int8_t>(data[0]);
    const int weight = static_cast<int16_t>(data[1] | data[2] << 8);
    const bool italic = data[3] & 1, underline = data[3] & 2;
    // The face up to the first NUL, the rest as text; texts end at their own first NUL.
    const std::string rest(reinterpret_cast<const char*>(data + 4), size - 4);
    const size_t end = rest.find('\0');
    const std::string face = rest.substr(0, end);
    const std::string text = end == std::string::npos ? std::string() : rest.substr(end + 1);

    znRecord::reset();
    znRenderContext context(reinterpret_cast<HWND>(0x10));
    context.initRenderContext();
    znRecord::clearCalls();
    znGLBitmapFont font;
    font.createFont(face.c_str(), height, weight, italic, underline);
    font.printString(text.c_str(), 0.5f, 0.5f, 0.0f, 1.0f, 0.0f, 0.5f, true);
    font.printString(text.c_str(), -0.5f, 0.25f, 1.0f, 1.0f, 1.0f);
    font.printString(text.c_str(), 0.0f, 0.0f, 0.5f, 0.0f, 0.0f, 1.0f, false);
    // Every path hands the bytes up to the text's end to glCallLists, and restores what it saved.
    const std::string length = std::to_string(std::strlen(text.c_str()));
    bool held = count("glCallLists") == 3 && count("glPushAttrib") == count("glPopAttrib") &&
                count("glPushMatrix") == count("glPopMatrix") && znRecord::liveFonts() == 0;
    for (const znRecord::Call& call : znRecord::calls())
        if (call.name == "glCallLists")
            held = held && call.args.at(0) == length;
    font.clearFont();
    held = held && znRecord::liveListNames() == 0;
    context.destroyRenderContext();
    return held;
}
