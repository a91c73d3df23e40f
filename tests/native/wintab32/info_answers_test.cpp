// WTInfo answers: the categories a drawing program asks for, item by item and whole.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "info_answers.h"
#include "wintab_constants.h"

namespace {

using namespace wt32;

uint32_t U32(const std::vector<uint8_t>& bytes, size_t offset = 0) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

AXIS Axis(const std::vector<uint8_t>& bytes, size_t n = 0) {
    AXIS axis{};
    std::memcpy(&axis, bytes.data() + n * sizeof axis, sizeof axis);
    return axis;
}

InfoEnvironment Environment() {
    InfoEnvironment env;
    env.tabletWidthInches = 6;
    env.tabletHeightInches = 5;
    env.productId = 0x8202;
    return env;
}

struct ScalarCase {
    uint32_t category;
    uint32_t index;
    uint32_t size;
    uint32_t value;
};

class Scalars : public ::testing::TestWithParam<ScalarCase> {};

TEST_P(Scalars, HaveTheirWidthAndValue) {
    const ScalarCase& c = GetParam();
    const auto bytes = InfoAnswer(c.category, c.index, false, Environment());
    ASSERT_EQ(bytes.size(), c.size);
    uint32_t value = 0;
    std::memcpy(&value, bytes.data(), c.size);
    EXPECT_EQ(value, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Info, Scalars,
    ::testing::Values(
        ScalarCase{WTI_INTERFACE, IFC_SPECVERSION, 2, 0x0101}, ScalarCase{WTI_INTERFACE, IFC_NDEVICES, 4, 1},
        ScalarCase{WTI_INTERFACE, IFC_NCURSORS, 4, 3}, ScalarCase{WTI_INTERFACE, IFC_NEXTENSIONS, 4, 0},
        ScalarCase{WTI_INTERFACE, IFC_CTXSAVESIZE, 4, kContextSaveSize}, ScalarCase{WTI_DEVICES, DVC_NCSRTYPES, 4, 2},
        ScalarCase{WTI_DEVICES, DVC_FIRSTCSR, 4, 1}, ScalarCase{WTI_DEVICES, DVC_PKTDATA, 4, kDevicePacketData},
        ScalarCase{WTI_CURSORS + 1, CSR_BUTTONS, 1, 2}, ScalarCase{WTI_CURSORS + 2, CSR_BUTTONS, 1, 1},
        ScalarCase{WTI_CURSORS + 1, CSR_TYPE, 4, 0x0802}, ScalarCase{WTI_CURSORS + 2, CSR_TYPE, 4, 0x080A},
        ScalarCase{WTI_CURSORS + 2, CSR_CAPABILITIES, 4, CRC_INVERT}, ScalarCase{WTI_CURSORS + 1, CSR_PHYSID, 4, 1},
        ScalarCase{WTI_CURSORS + 0, CSR_ACTIVE, 4, 0}, ScalarCase{WTI_CURSORS + 2, CSR_ACTIVE, 4, 1}));

TEST(InfoAnswers, DeviceAxesCoverTheTabletWithTheResolutionOfItsSize) {
    const auto x = Axis(InfoAnswer(WTI_DEVICES, DVC_X, false, Environment()));
    const auto y = Axis(InfoAnswer(WTI_DEVICES, DVC_Y, false, Environment()));
    EXPECT_EQ(x.axMin, 0);
    EXPECT_EQ(x.axMax, 10206);
    EXPECT_EQ(y.axMax, 7422);
    EXPECT_EQ(x.axUnits, TU_INCHES);
    EXPECT_EQ(x.axResolution, (10206u / 6) << 16);
    EXPECT_EQ(y.axResolution, (7422u / 5) << 16);
    // With no tablet known the axes assume a 5 x 4 inch tablet rather than dividing by zero.
    const auto fallback = Axis(InfoAnswer(WTI_DEVICES, DVC_X, false, InfoEnvironment{}));
    EXPECT_EQ(fallback.axResolution, (10206u / 5) << 16);
}

TEST(InfoAnswers, PressureAndOrientationAxes) {
    const auto pressure = Axis(InfoAnswer(WTI_DEVICES, DVC_NPRESSURE, false, Environment()));
    EXPECT_EQ(pressure.axMin, 0);
    EXPECT_EQ(pressure.axMax, 1023);
    const auto orientation = InfoAnswer(WTI_DEVICES, DVC_ORIENTATION, false, Environment());
    ASSERT_EQ(orientation.size(), 3 * sizeof(AXIS));
    EXPECT_EQ(Axis(orientation, 0).axMax, 3599);
    EXPECT_EQ(Axis(orientation, 1).axMin, -900);
    EXPECT_EQ(Axis(orientation, 1).axMax, 900);
    EXPECT_EQ(Axis(orientation, 1).axUnits, TU_CIRCLE);
    EXPECT_EQ(Axis(orientation, 0).axResolution, 3600u << 16);
}

TEST(InfoAnswers, UnsupportedItemsAndCategoriesAnswerNothing) {
    for (uint32_t category : {WTI_EXTENSIONS, WTI_DEVICES + 1, WTI_CURSORS + 3, 7u})
        EXPECT_TRUE(InfoAnswer(category, 0, false, Environment()).empty()) << category;
    EXPECT_TRUE(InfoAnswer(WTI_DEVICES, DVC_Z, false, Environment()).empty());
    EXPECT_TRUE(InfoAnswer(WTI_DEVICES, DVC_ROTATION, false, Environment()).empty());
    EXPECT_TRUE(InfoAnswer(WTI_DEFCONTEXT, CTX_MAX + 1, false, Environment()).empty());
    EXPECT_TRUE(InfoAnswer(WTI_INTERFACE, IFC_NMANAGERS + 1, false, Environment()).empty());
}

TEST(InfoAnswers, StringsComeNarrowOrWide) {
    const auto narrow = InfoAnswer(WTI_CURSORS + 2, CSR_NAME, false, Environment());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(narrow.data())), "Eraser");
    EXPECT_EQ(narrow.size(), 7u);
    const auto wide = InfoAnswer(WTI_CURSORS + 2, CSR_NAME, true, Environment());
    ASSERT_EQ(wide.size(), 14u);
    EXPECT_EQ(wide[0], 'E');
    EXPECT_EQ(wide[1], 0);
    const auto id = InfoAnswer(WTI_DEVICES, DVC_PNPID, false, Environment());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(id.data())), "USB\\VID_4B54&PID_8202");
}

TEST(InfoAnswers, ButtonNamesAreAListEndingWithAnEmptyName) {
    const auto names = InfoAnswer(WTI_CURSORS + 1, CSR_BTNNAMES, false, Environment());
    const std::string expected("Tip\0Side button\0\0", 17);
    EXPECT_EQ(std::string(names.begin(), names.end()), expected);
    const auto map = InfoAnswer(WTI_CURSORS + 1, CSR_SYSBTNMAP, false, Environment());
    ASSERT_EQ(map.size(), 32u);
    EXPECT_EQ(map[0], SBN_LCLICK);
    EXPECT_EQ(map[1], SBN_RCLICK);
    EXPECT_EQ(map[2], 0);
}

TEST(InfoAnswers, IndexZeroGivesEveryItemInOrder) {
    const InfoEnvironment env = Environment();
    std::vector<uint8_t> joined;
    for (uint32_t index = 1; index <= DVC_PNPID; ++index) {
        const auto item = InfoAnswer(WTI_DEVICES, index, false, env);
        joined.insert(joined.end(), item.begin(), item.end());
    }
    EXPECT_EQ(InfoAnswer(WTI_DEVICES, 0, false, env), joined);
    EXPECT_GE(LargestInfoAnswer(false, env), joined.size());
    EXPECT_GE(LargestInfoAnswer(true, env), sizeof(LOGCONTEXTW));
}

TEST(InfoAnswers, DefaultContextsDifferOnlyInTheSystemOptionAndName) {
    InfoEnvironment env = Environment();
    env.screenLeft = -1280;
    env.screenWidth = 2560;
    const auto system = DefaultContext(true, env);
    const auto digitizing = DefaultContext(false, env);
    EXPECT_EQ(system.lcOptions, wintab::CXO_SYSTEM);
    EXPECT_EQ(digitizing.lcOptions, 0u);
    EXPECT_EQ(system.lcInExtX, 10206);
    EXPECT_EQ(system.lcOutExtY, 7422);
    EXPECT_EQ(system.lcMsgBase, wintab::WT_DEFBASE);
    EXPECT_EQ(system.lcSysOrgX, -1280);
    EXPECT_EQ(system.lcSysExtX, 2560);
    const auto whole = InfoAnswer(WTI_DEFSYSCTX, 0, false, env);
    ASSERT_EQ(whole.size(), sizeof(wintab::LOGCONTEXTA));
    EXPECT_EQ(std::memcmp(whole.data(), &system, sizeof system), 0);
}

TEST(InfoAnswers, ContextFieldsByIndexFollowTheDeclarationOrder) {
    const InfoEnvironment env = Environment();
    const auto context = DefaultContext(true, env);
    EXPECT_EQ(U32(InfoAnswer(WTI_DEFSYSCTX, 2, false, env)), context.lcOptions);    // CTX_OPTIONS
    EXPECT_EQ(U32(InfoAnswer(WTI_DEFSYSCTX, 8, false, env)), context.lcPktData);    // CTX_PKTDATA
    EXPECT_EQ(U32(InfoAnswer(WTI_DEFSYSCTX, 16, false, env)), 10206u);              // CTX_INEXTX
    EXPECT_EQ(U32(InfoAnswer(WTI_DEFSYSCTX, 34, false, env)), context.lcSysSensY);  // CTX_SYSSENSY
    EXPECT_EQ(InfoAnswer(WTI_DEFSYSCTX, CTX_NAME, false, env).size(), 40u);
    EXPECT_EQ(InfoAnswer(WTI_DEFSYSCTX, CTX_NAME, true, env).size(), 80u);
    EXPECT_EQ(U32(InfoAnswer(WTI_DEFSYSCTX, 16, true, env)), 10206u);
}

TEST(InfoAnswers, WideContextsRoundTrip) {
    const auto context = DefaultContext(false, Environment());
    const auto wide = WidenContext(context);
    EXPECT_EQ(wide.lcName[0], u'P');
    const auto back = NarrowContext(wide);
    EXPECT_EQ(std::memcmp(&back, &context, sizeof context), 0);
}

TEST(InfoAnswers, StatusCountsThisProcessesContexts) {
    InfoEnvironment env = Environment();
    env.openContexts = 2;
    env.openPacketData = 0x5E0;
    EXPECT_EQ(U32(InfoAnswer(WTI_STATUS, STA_CONTEXTS, false, env)), 2u);
    EXPECT_EQ(U32(InfoAnswer(WTI_STATUS, STA_PKTDATA, false, env)), 0x5E0u);
    EXPECT_EQ(InfoAnswer(WTI_STATUS, 0, false, env).size(), 8 * 4u);
}

}  // namespace
