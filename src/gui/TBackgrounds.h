#pragma once

#include <QPixmap>

// The five background pictures of Images/, loaded when the window is made.
struct TBackgrounds {
    QPixmap toolsbar, searchbar, group, item0, item1;
};
