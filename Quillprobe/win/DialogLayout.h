#pragma once
// Where the dialog's resizable controls go for a client area of a given size.
#include <vector>

namespace Orvane { namespace Quillprobe {

struct ControlPlace {
    int id;
    int x, y, width, height;
};

// The controls that follow the dialog's size, by control id, in client coordinates.
std::vector<ControlPlace> ControlPlaces(int clientWidth, int clientHeight);

} }
