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
        {QT_TRANSLATE_NOOP("ColorValues", "Black"), rgb(0, 0, 0)},
        {QT_TRANSLATE_NOOP("ColorValues", "Maroon"), rgb(128, 0, 0)},
        {QT_TRANSLATE_NOOP("ColorValues", "Green"), rgb(0, 128, 0)},
        {QT_TRANSLATE_NOOP("ColorValues", "Olive"), rgb(128, 128, 0)},
        {QT_TRANSLATE_NOOP("ColorValues", "Navy"), rgb(0, 0, 128)},
        {QT_TRANSLATE_NOOP("ColorValues", "Purple"), rgb(128, 0, 128)},
        {QT_TRANSLATE_NOOP("ColorValues", "Teal"), rgb(0, 128, 128)},
        {QT_TRANSLATE_NOOP("ColorValues", "Gray"), rgb(128, 128, 128)},
        {QT_TRANSLATE_NOOP("ColorValues", "Silver"), rgb(192, 192, 192)},
        {QT_TRANSLATE_NOOP("ColorValues", "Red"), rgb(255, 0, 0)},
        {QT_TRANSLATE_NOOP("ColorValues", "Lime"), rgb(0, 255, 0)},
        {QT_TRANSLATE_NOOP("ColorValues", "Yellow"), rgb(255, 255, 0)},
        {QT_TRANSLATE_NOOP("ColorValues", "Blue"), rgb(0, 0, 255)},
        {QT_TRANSLATE_NOOP("ColorValues", "Fuchsia"), rgb(255, 0, 255)},
        {QT_TRANSLATE_NOOP("ColorValues", "Aqua"), rgb(0, 255, 255)},
        {QT_TRANSLATE_NOOP("ColorValues", "White"), rgb(255, 255, 255)},
        {QT_TRANSLATE_NOOP("ColorValues", "Money Green"), rgb(192, 220, 192)},
        {QT_TRANSLATE_NOOP("ColorValues", "Sky Blue"), rgb(166, 202, 240)},
        {QT_TRANSLATE_NOOP("ColorValues", "Cream"), rgb(255, 251, 240)},
        {QT_TRANSLATE_NOOP("ColorValues", "Medium Gray"), rgb(160, 160, 164)},
        {QT_TRANSLATE_NOOP("ColorValues", "Scroll Bar"), sys(0)},
        {QT_TRANSLATE_NOOP("ColorValues", "Background"), sys(1)},
        {QT_TRANSLATE_NOOP("ColorValues", "Active Caption"), sys(2)},
        {QT_TRANSLATE_NOOP("ColorValues", "Inactive Caption"), sys(3)},
        {QT_TRANSLATE_NOOP("ColorValues", "Menu"), sys(4)},
        {QT_TRANSLATE_NOOP("ColorValues", "Window"), sys(5)},
        {QT_TRANSLATE_NOOP("ColorValues", "Window Frame"), sys(6)},
        {QT_TRANSLATE_NOOP("ColorValues", "Menu Text"), sys(7)},
        {QT_TRANSLATE_NOOP("ColorValues", "Window Text"), sys(8)},
        {QT_TRANSLATE_NOOP("ColorValues", "Caption Text"), sys(9)},
        {QT_TRANSLATE_NOOP("ColorValues", "Active Border"), sys(10)},
        {QT_TRANSLATE_NOOP("ColorValues", "Inactive Border"), sys(11)},
        {QT_TRANSLATE_NOOP("ColorValues", "Application Workspace"), sys(12)},
        {QT_TRANSLATE_NOOP("ColorValues", "Highlight"), sys(13)},
        {QT_TRANSLATE_NOOP("ColorValues", "Highlight Text"), sys(14)},
        {QT_TRANSLATE_NOOP("ColorValues", "Button Face"), sys(15)},
        {QT_TRANSLATE_NOOP("ColorValues", "Button Shadow"), sys(16)},
        {QT_TRANSLATE_NOOP("ColorValues", "Gray Text"), sys(17)},
        {QT_TRANSLATE_NOOP("ColorValues", "Button Text"), sys(18)},
        {QT_TRANSLATE_NOOP("ColorValues", "Inactive Caption Text"), sys(19)},
        {QT_TRANSLATE_NOOP("ColorValues", "Button Highlight"), sys(20)},
        {QT_TRANSLATE_NOOP("ColorValues", "3D Dark Shadow"), sys(21)},
        {QT_TRANSLATE_NOOP("ColorValues", "3D Light"), sys(22)},
        {QT_TRANSLATE_NOOP("ColorValues", "Info Text"), sys(23)},
        {QT_TRANSLATE_NOOP("ColorValues", "Info Background"), sys(24)},
        {QT_TRANSLATE_NOOP("ColorValues", "Hot Light"), sys(26)},
        {QT_TRANSLATE_NOOP("ColorValues", "Gradient Active Caption"), sys(27)},
        {QT_TRANSLATE_NOOP("ColorValues", "Gradient Inactive Caption"), sys(28)},
        {QT_TRANSLATE_NOOP("ColorValues", "Menu Highlight"), sys(29)},
        {QT_TRANSLATE_NOOP("ColorValues", "Menu Bar"), sys(30)},
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
