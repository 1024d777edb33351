#include "ColorValues.h"

namespace ColorValues {

namespace {

constexpr qint32 rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}
constexpr qint32 sys(int index) {
    return SystemFlag | index;
}

// The system colour indexes and the palette entries that stand for them here.
struct SystemColor {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};
const SystemColor kSystem[] = {
    {0, QPalette::Active, QPalette::Button},           // scroll bar
    {1, QPalette::Active, QPalette::Dark},             // background
    {2, QPalette::Active, QPalette::Highlight},        // active caption
    {3, QPalette::Inactive, QPalette::Mid},            // inactive caption
    {4, QPalette::Active, QPalette::Window},           // menu
    {5, QPalette::Active, QPalette::Base},             // window
    {6, QPalette::Active, QPalette::Shadow},           // window frame
    {7, QPalette::Active, QPalette::WindowText},       // menu text
    {8, QPalette::Active, QPalette::Text},             // window text
    {9, QPalette::Active, QPalette::HighlightedText},  // caption text
    {10, QPalette::Active, QPalette::Midlight},        // active border
    {11, QPalette::Inactive, QPalette::Midlight},      // inactive border
    {12, QPalette::Active, QPalette::Mid},             // application workspace
    {13, QPalette::Active, QPalette::Highlight},       // highlight
    {14, QPalette::Active, QPalette::HighlightedText}, // highlight text
    {15, QPalette::Active, QPalette::Button},          // button face
    {16, QPalette::Active, QPalette::Dark},            // button shadow
    {17, QPalette::Disabled, QPalette::Text},          // grey text
    {18, QPalette::Active, QPalette::ButtonText},      // button text
    {19, QPalette::Inactive, QPalette::Text},          // inactive caption text
    {20, QPalette::Active, QPalette::Light},           // button highlight
    {21, QPalette::Active, QPalette::Shadow},          // 3D dark shadow
    {22, QPalette::Active, QPalette::Midlight},        // 3D light
    {23, QPalette::Active, QPalette::ToolTipText},     // info text
    {24, QPalette::Active, QPalette::ToolTipBase},     // info background
    {26, QPalette::Active, QPalette::Link},            // hot light
    {27, QPalette::Active, QPalette::Highlight},       // gradient active caption
    {28, QPalette::Inactive, QPalette::Midlight},      // gradient inactive caption
    {29, QPalette::Active, QPalette::Highlight},       // menu highlight
    {30, QPalette::Active, QPalette::Window},          // menu bar
};

} // namespace

const std::vector<NamedColor>& All() {
    static const std::vector<NamedColor> list = {
        {QStringLiteral("Black"), rgb(0, 0, 0)},
        {QStringLiteral("Maroon"), rgb(128, 0, 0)},
        {QStringLiteral("Green"), rgb(0, 128, 0)},
        {QStringLiteral("Olive"), rgb(128, 128, 0)},
        {QStringLiteral("Navy"), rgb(0, 0, 128)},
        {QStringLiteral("Purple"), rgb(128, 0, 128)},
        {QStringLiteral("Teal"), rgb(0, 128, 128)},
        {QStringLiteral("Gray"), rgb(128, 128, 128)},
        {QStringLiteral("Silver"), rgb(192, 192, 192)},
        {QStringLiteral("Red"), rgb(255, 0, 0)},
        {QStringLiteral("Lime"), rgb(0, 255, 0)},
        {QStringLiteral("Yellow"), rgb(255, 255, 0)},
        {QStringLiteral("Blue"), rgb(0, 0, 255)},
        {QStringLiteral("Fuchsia"), rgb(255, 0, 255)},
        {QStringLiteral("Aqua"), rgb(0, 255, 255)},
        {QStringLiteral("White"), rgb(255, 255, 255)},
        {QStringLiteral("Money Green"), rgb(192, 220, 192)},
        {QStringLiteral("Sky Blue"), rgb(166, 202, 240)},
        {QStringLiteral("Cream"), rgb(255, 251, 240)},
        {QStringLiteral("Medium Gray"), rgb(160, 160, 164)},
        {QStringLiteral("Scroll Bar"), sys(0)},
        {QStringLiteral("Background"), sys(1)},
        {QStringLiteral("Active Caption"), sys(2)},
        {QStringLiteral("Inactive Caption"), sys(3)},
        {QStringLiteral("Menu"), sys(4)},
        {QStringLiteral("Window"), sys(5)},
        {QStringLiteral("Window Frame"), sys(6)},
        {QStringLiteral("Menu Text"), sys(7)},
        {QStringLiteral("Window Text"), sys(8)},
        {QStringLiteral("Caption Text"), sys(9)},
        {QStringLiteral("Active Border"), sys(10)},
        {QStringLiteral("Inactive Border"), sys(11)},
        {QStringLiteral("Application Workspace"), sys(12)},
        {QStringLiteral("Highlight"), sys(13)},
        {QStringLiteral("Highlight Text"), sys(14)},
        {QStringLiteral("Button Face"), sys(15)},
        {QStringLiteral("Button Shadow"), sys(16)},
        {QStringLiteral("Gray Text"), sys(17)},
        {QStringLiteral("Button Text"), sys(18)},
        {QStringLiteral("Inactive Caption Text"), sys(19)},
        {QStringLiteral("Button Highlight"), sys(20)},
        {QStringLiteral("3D Dark Shadow"), sys(21)},
        {QStringLiteral("3D Light"), sys(22)},
        {QStringLiteral("Info Text"), sys(23)},
        {QStringLiteral("Info Background"), sys(24)},
        {QStringLiteral("Hot Light"), sys(26)},
        {QStringLiteral("Gradient Active Caption"), sys(27)},
        {QStringLiteral("Gradient Inactive Caption"), sys(28)},
        {QStringLiteral("Menu Highlight"), sys(29)},
        {QStringLiteral("Menu Bar"), sys(30)},
    };
    return list;
}

bool IsSystem(qint32 value) {
    return (quint32(value) & 0xFF000000u) == 0xFF000000u;
}

qint32 FromRgb(const QColor& c) {
    return rgb(c.red(), c.green(), c.blue());
}

QColor ToColor(qint32 value, const QPalette& palette) {
    if (value == 0)
        return QColor();
    if (IsSystem(value)) {
        const int index = value & 0xFF;
        for (const SystemColor& s : kSystem)
            if (s.index == index)
                return palette.color(s.group, s.role);
        return QColor();
    }
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

} // namespace ColorValues
