// The selection a scan is limited to, in the picture's pixel coordinates, with the
// single-precision values the selection rectangle on the main window holds.
#pragma once

namespace mGlyfora {

struct SelectionRect {
    bool Visible = false;
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
};

} // namespace mGlyfora
