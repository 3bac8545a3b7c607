#include "DialogLayout.h"

#include "resource.h"

namespace Orvane { namespace Quillprobe {

std::vector<ControlPlace> ControlPlaces(int clientWidth, int clientHeight)
{
    const int W = clientWidth;
    const int H = clientHeight;
    return {
        {IDC_RULE, 5, 25, W - 10, 35},
        {IDC_REGEXP, 5, 145, W - 28, 35},
        {IDC_HINT, W - 22, 145, 18, 35},
        {IDC_TEST_STRING, 5, 200, W - 10, 35},
        {IDC_MATCH_RESULTS, 5, 260, W - 10, H - 395},
        {IDC_FORMAT_LABEL, 10, H - 125, W - 10, 15},
        {IDC_FORMAT, 5, H - 105, W - 10, 35},
        {IDC_RESULT_LABEL, 10, H - 65, W - 10, 15},
        {IDC_RESULT, 5, H - 45, W - 10, 35},
    };
}

} }
