#include <stdexcept>

#include "RecordTest.h"
#include "znException.h"
#include "znRenderContext.h"
#include "znVelmora_c.h"

namespace {

using ErrorReports = RecordTest;

TEST_F(ErrorReports, ContextCodesShowTheirTextsInOneErrorBoxEach) {
    for (int code = 0; code <= 7; ++code)
        znContextException(code).showErrorMessage();
    const std::string caption = "znVelmora Context Error|";
    EXPECT_EQ(boxes(), (Texts{caption + "Unknown internal error.|16",
                              caption + "Could not get device context|16",
                              caption + "Could not create the pixelformat.|16",
                              caption + "Could not set the pixelformat.|16",
                              caption + "Could not create the rendercontext.|16",
                              caption + "Could not activate the rendercontext.|16",
                              caption + "Could not destroy the rendercontext.|16",
                              caption + "Unknown internal error.|16"}));
    EXPECT_EQ(znRecord::messageBoxes()[1].owner, nullptr);
}

TEST_F(ErrorReports, RenderCodesShowTheirTexts) {
    for (int code : {0, 2, 3, 4})
        znRenderException(code).showErrorMessage();
    const std::string caption = "znVelmora Render Error|";
    EXPECT_EQ(boxes(), (Texts{caption + "Unknown internal error.|16",
                              caption + "Error, while rendering the environment.|16",
                              caption + "Error, while updating (sync) the environment.|16",
                              caption + "Unknown internal error.|16"}));
}

TEST_F(ErrorReports, SwapFailureIsShownOnlyFromItsSecondReport) {
    znRenderException swap(1);
    EXPECT_FALSE(swap.seenOnce);
    swap.showErrorMessage();
    EXPECT_TRUE(swap.seenOnce);
    EXPECT_TRUE(boxes().empty());
    swap.showErrorMessage();
    EXPECT_EQ(boxes(), Texts{"znVelmora Render Error|Could not swap render buffers|16"});
}

TEST_F(ErrorReports, HoldersCarryACopyAndAreCaughtByType) {
    try {
        throw znExceptionHolder<znRenderException>(znRenderException(3));
    } catch (znExceptionHolder<znContextException>&) {
        FAIL() << "caught as a context failure";
    } catch (znExceptionHolder<znRenderException>& failure) {
        EXPECT_EQ(failure.exception.code, 3);
        EXPECT_FALSE(failure.exception.seenOnce);
    }
}

} // namespace

namespace {

// What a report handler received, each as "caption|text|style". ZNCALL is the C interface's
// convention, which the C++ handler shares.
void ZNCALL collectReport(void* user, const char* caption, const char* text, unsigned int style) {
    static_cast<Texts*>(user)->push_back(std::string(caption) + "|" + text + "|" +
                                         std::to_string(style));
}

void throwFromHandler(void*, const char*, const char*, unsigned int) {
    throw std::runtime_error("handler");
}

// The one suite of the report handler, set from C++ or from C.
TEST_F(ErrorReports, AReportHandlerReceivesEveryReportInsteadOfItsBox) {
    Texts reports;
    znSetReportHandler(collectReport, &reports);
    znContextException(1).showErrorMessage();
    znRenderException(2).showErrorMessage();
    znRecord::removeProc("glActiveTextureARB");
    {
        znRenderContext context(window());
        context.initRenderContext();
    }
    znSetReportHandler(throwFromHandler, nullptr);
    EXPECT_NO_THROW(znContextException(5).showErrorMessage());
    znSetReportHandler(nullptr, nullptr);
    znContextException(6).showErrorMessage();
    // The C interface sets the same handler: a start-up failure reaches it with the C style.
    EXPECT_EQ(znvSetReportHandler(collectReport, &reports), ZNV_OK);
    znvManager* windowless = nullptr;
    ASSERT_EQ(znvManager_create(nullptr, nullptr, nullptr, &windowless), ZNV_OK);
    EXPECT_EQ(znvManager_initializeOpenGL(windowless), ZNV_CONTEXT_FAILURE | 1);
    EXPECT_EQ(znvSetReportHandler(nullptr, nullptr), ZNV_OK);
    EXPECT_EQ(znvManager_destroy(windowless), ZNV_OK);

    EXPECT_EQ(reports, (Texts{"znVelmora Context Error|Could not get device context|16",
                              "znVelmora Render Error|Error, while rendering the environment.|16",
                              "Error|glActiveTextureARB not supported|48",
                              "znVelmora Context Error|Could not get device context|" +
                                  std::to_string(ZNV_STYLE_ERROR)}));
    // Only the report after the handler was taken away became a box.
    EXPECT_EQ(boxes(), Texts{"znVelmora Context Error|Could not destroy the rendercontext.|16"});
}

} // namespace
