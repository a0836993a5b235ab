#include "base_ui/controls/RowKeyNavigation.h"

#include <Qt>

#include <algorithm>

int RowKeyNavigation::target(int key, int current, int count, int page, int firstVisible)
{
    if (count <= 0) {
        return -1;
    }
    const int step = std::max(page, 1);
    const bool none = current < 0 || current >= count;
    const int from = none ? std::clamp(firstVisible, 0, count - 1) : current;
    int to = -1;
    switch (key) {
    case Qt::Key_Up:
        to = none ? from : from - 1;
        break;
    case Qt::Key_Down:
        to = none ? from : from + 1;
        break;
    case Qt::Key_PageUp:
        to = from - step;
        break;
    case Qt::Key_PageDown:
        to = from + step;
        break;
    case Qt::Key_Home:
        to = 0;
        break;
    case Qt::Key_End:
        to = count - 1;
        break;
    default:
        return -1;
    }
    return std::clamp(to, 0, count - 1);
}
