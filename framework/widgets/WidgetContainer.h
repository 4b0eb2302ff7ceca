#pragma once
// A node of the widget tree: a rectangle in its parent's coordinates and children kept in
// ascending z priority (later ones are drawn over earlier ones and hit first). The widget
// manager is the root container; every other node is a Widget.
#include "framework/display/Rect.h"

#include <vector>

namespace Quoll
{
class Widget;
class WidgetManager;

class WidgetContainer
{
public:
    WidgetContainer() = default;
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;
    virtual ~WidgetContainer() = default;

    // Adds a child above those of the same or lower z priority; a widget that has a parent is
    // taken from it first.
    virtual void AddWidget(Widget* widget);
    // Takes a child out (not deleted); the manager forgets it as focus, hover, down and modal widget.
    virtual void RemoveWidget(Widget* widget);
    [[nodiscard]] bool HasWidget(const Widget* widget) const;
    // Takes every child out; with `doDelete` deletes them, with `recursive` empties them first.
    void RemoveAllWidgets(bool doDelete = false, bool recursive = false);
    // Puts the child above every child of the same z priority.
    void BringToFront(Widget* widget);
    [[nodiscard]] const std::vector<Widget*>& GetWidgets() const { return mWidgets; }

    // Dirty marking: the next DrawScreen redraws. Full also covers what lies below the widget.
    virtual void MarkDirty();
    void MarkDirtyFull();
    virtual void MarkAllDirty();
    virtual void SystemColoursChangedAll();
    [[nodiscard]] bool IsDirty() const { return mDirty; }

    [[nodiscard]] Rect GetRect() const { return Rect(mX, mY, mWidth, mHeight); }
    [[nodiscard]] WidgetContainer* GetParent() const { return mParent; }
    [[nodiscard]] WidgetManager* GetWidgetManager() const { return mWidgetManager; }

    int mX = 0;
    int mY = 0;
    int mWidth = 0;
    int mHeight = 0;

protected:
    // The tree-wide change of the system colours or display, per node.
    virtual void SystemColoursChanged() {}
    // Inserts keeping ascending z priority, after the last of equal priority.
    void InsertByPriority(Widget* widget);

    std::vector<Widget*> mWidgets;
    WidgetContainer* mParent = nullptr;
    WidgetManager* mWidgetManager = nullptr;
    bool mDirty = false;

    friend class WidgetManager;
    friend class Widget;

private:
    static void SetManagerOfTree(Widget* widget, WidgetManager* manager);
};
} // namespace Quoll
