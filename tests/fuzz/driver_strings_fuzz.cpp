#include <array>
#include <cstring>
#include <string>

#include "harnesses.h"
#include "znRecord.h"
#include "znVelmora.h"

namespace {

const char* const kPlaceholder = "no-information-available";
const GLenum kNames[4] = {GL_VENDOR, GL_RENDERER, GL_VERSION, GL_EXTENSIONS};

// What the manager must answer for a string the driver gave (or failed to give).
bool answered(const char* got, const std::string& given, bool failed) {
    return got && std::strcmp(got, failed ? kPlaceholder : given.c_str()) == 0;
}

// Joining the list at single blanks gives the extension string back, piece for piece.
bool splitRestores(const std::vector<std::string>& pieces, const std::string& given) {
    std::string joined;
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].find(' ') != std::string::npos)
            return false;
        joined += (i ? " " : "") + pieces[i];
    }
    return joined == given;
}

class NoScene : public znRenderEnv {
    void initEnvironment() override {}
    void destroyEnvironment() override {}
    void syncEnvironment() override {}
    void animateEnvironment(float) override {}
    void renderEnvironment() override {}
    void prepareEnvironment() override {}
};

} // namespace

bool znFuzz::driverStrings(const uint8_t* data, size_t size) {
    const uint8_t flags = size ? data[0] : 0;
    std::array<std::string, 4> strings;
    size_t field = 0;
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0 && field < 3)
            ++field;
        else if (data[i] != 0)
            strings[field] += static_cast<char>(data[i]);
    }
    znRecord::reset();
    for (int i = 0; i < 4; ++i) {
        znRecord::setGLString(kNames[i], strings[i].c_str());
        if (flags & (1 << i))
            znRecord::failGLString(kNames[i]);
    }
    NoScene scene;
    znVelmora manager(reinterpret_cast<HWND>(0x10), &scene);
    manager.initializeOpenGL();
    const bool extensionsFailed = flags & 8;
    const std::vector<std::string>& extensions = manager.getGLExtensions();
    bool held = answered(manager.getGLVendor(), strings[0], flags & 1) &&
                answered(manager.getGLRenderer(), strings[1], flags & 2) &&
                answered(manager.getGLVersion(), strings[2], flags & 4) &&
                (extensionsFailed ? extensions == std::vector<std::string>{kPlaceholder}
                                  : splitRestores(extensions, strings[3])) &&
                znRecord::messageBoxes().empty();
    manager.destroyOpenGL();
    return held && znRecord::liveListNames() == 0 && znRecord::heldDCs() == 0;
}
