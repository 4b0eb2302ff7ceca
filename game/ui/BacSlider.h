#pragma once
// BacSlider: the settings dialog's volume slider. It draws its track and, over it, a row of
// segments lit from the left as far as the value reaches; the segments' places come from
// "data/art/textures/interface/slider.txt" (a word and four numbers a line: name, x, y, width
// and one unused), shared by every slider, and segment i is cel i of the thumb image. A press
// on a segment starts a drag with the dragging hand; a press elsewhere sets the value there.
#include "framework/widgets/Slider.h"
#include "game/scene/TextRecord.h"

#include <vector>

namespace Quoll
{
class BacSlider : public Slider
{
public:
    static constexpr const char* kSegmentFile = "data/art/textures/interface/slider.txt";
    static constexpr int kCursorArrow = 0;
    static constexpr int kCursorDrag = 2;

    // Takes its track and thumb images by their resource names; loads the segment table when it
    // is still empty.
    BacSlider(int id, SliderListener* listener);

    // The last segment (searching from the end) whose span x..x + width holds x; -1 for none.
    [[nodiscard]] static int SegmentAt(int x);
    [[nodiscard]] static const std::vector<TextRecord>& GetSegments() { return sSegments; }
    // Empties the shared table so that the next slider reads the file again (tests).
    static void ClearSegments() { sSegments.clear(); }

    void Draw(Graphics* g) override;
    using Slider::MouseDown;
    void MouseDown(int x, int y, int button, int clickCount) override;
    void MouseMove(int x, int y) override;
    void MouseDrag(int x, int y) override;

    // The track's colour while the slider is disabled.
    Color mDisabledColor{255, 255, 255, 100};

private:
    [[nodiscard]] double ValueOf(int x) const;

    static std::vector<TextRecord> sSegments;
};
} // namespace Quoll
