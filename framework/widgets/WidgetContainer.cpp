#include "framework/widgets/WidgetContainer.h"

#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <algorithm>

namespace Quoll
{
void WidgetContainer::SetManagerOfTree(Widget* widget, WidgetManager* manager)
{
    widget->mWidgetManager = manager;
    for (Widget* child : widget->mWidgets)
        SetManagerOfTree(child, manager);
}

void WidgetContainer::InsertByPriority(Widget* widget)
{
    auto above = std::find_if(mWidgets.begin(), mWidgets.end(),
                              [widget](const Widget* other) { return other->mZPriority > widget->mZPriority; });
    mWidgets.insert(above, widget);
}

// A widget cannot be added below itself: the tree would become a loop.
void WidgetContainer::AddWidget(Widget* widget)
{
    if (widget == nullptr || widget->mParent == this)
        return;
    for (const WidgetContainer* node = this; node != nullptr; node = node->mParent)
        if (node == widget)
            return;
    if (widget->mParent != nullptr)
        widget->mParent->RemoveWidget(widget);
    InsertByPriority(widget);
    widget->mParent = this;
    SetManagerOfTree(widget, mWidgetManager);
    widget->MarkAllDirty();
}

void WidgetContainer::RemoveWidget(Widget* widget)
{
    auto found = std::find(mWidgets.begin(), mWidgets.end(), widget);
    if (found == mWidgets.end())
        return;
    mWidgets.erase(found);
    widget->mParent = nullptr;
    MarkDirtyFull();
    if (mWidgetManager != nullptr)
        mWidgetManager->WidgetRemoved(widget);
    SetManagerOfTree(widget, nullptr);
}

bool WidgetContainer::HasWidget(const Widget* widget) const
{
    return std::find(mWidgets.begin(), mWidgets.end(), widget) != mWidgets.end();
}

void WidgetContainer::RemoveAllWidgets(bool doDelete, bool recursive)
{
    while (!mWidgets.empty())
    {
        Widget* widget = mWidgets.back();
        if (recursive)
            widget->RemoveAllWidgets(doDelete, true);
        RemoveWidget(widget);
        if (doDelete)
            delete widget;
    }
}

void WidgetContainer::BringToFront(Widget* widget)
{
    auto found = std::find(mWidgets.begin(), mWidgets.end(), widget);
    if (found == mWidgets.end())
        return;
    mWidgets.erase(found);
    InsertByPriority(widget);
    widget->MarkDirty();
}

void WidgetContainer::MarkDirty()
{
    mDirty = true;
    if (mWidgetManager != nullptr)
        mWidgetManager->NoteDirty();
}

void WidgetContainer::MarkDirtyFull()
{
    MarkDirty();
    if (mParent != nullptr)
        mParent->MarkDirty();
}

void WidgetContainer::MarkAllDirty()
{
    MarkDirty();
    for (Widget* child : mWidgets)
        child->MarkAllDirty();
}

void WidgetContainer::SystemColoursChangedAll()
{
    SystemColoursChanged();
    const std::vector<Widget*> children = mWidgets; // a handler may change the tree
    for (Widget* child : children)
        if (child->mParent == this)
            child->SystemColoursChangedAll();
}
} // namespace Quoll
