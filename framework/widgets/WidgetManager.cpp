// The widget manager's tree, modal stack and frames; its input is in WidgetManagerInput.cpp.
#include "framework/widgets/WidgetManager.h"

#include "framework/core/Common.h"
#include "framework/app/QuollAppBase.h"
#include "framework/display/Graphics.h"
#include "framework/widgets/Widget.h"

#include <algorithm>

namespace Quoll
{
WidgetManager::WalkScope::WalkScope(WidgetManager& manager) : mManager(manager)
{
    ++mManager.mWalkDepth;
}

WidgetManager::WalkScope::~WalkScope()
{
    if (--mManager.mWalkDepth == 0)
        mManager.FlushDeletes();
}

WidgetManager::WidgetManager(QuollAppBase* app) : mApp(app)
{
    mWidgetManager = this;
    if (app != nullptr)
        SetSize(app->mWidth, app->mHeight);
}

// Top-level widgets belong to whoever added them; they are only let go here.
WidgetManager::~WidgetManager()
{
    mModalStack.clear();
    mMouseIn = false;
    RemoveAllWidgets(false);
    for (Widget* widget : mPendingDeletes)
        delete widget;
}

void WidgetManager::SetSize(int width, int height)
{
    mWidth = width;
    mHeight = height;
    MarkAllDirty();
}

void WidgetManager::AddWidget(Widget* widget)
{
    WidgetContainer::AddWidget(widget);
    RefreshHover();
}

void WidgetManager::RemoveWidget(Widget* widget)
{
    WidgetContainer::RemoveWidget(widget);
    RefreshHover();
}

void WidgetManager::MarkAllDirty()
{
    WidgetContainer::MarkAllDirty();
}

void WidgetManager::SystemColoursChangedAll()
{
    WalkScope walk(*this);
    WidgetContainer::SystemColoursChangedAll();
}

void WidgetManager::DestroyWidget(Widget* widget)
{
    if (widget == nullptr)
        return;
    if (widget->mParent != nullptr)
        widget->mParent->RemoveWidget(widget);
    delete widget;
}

void WidgetManager::SafeDeleteWidget(Widget* widget)
{
    if (widget == nullptr)
        return;
    if (widget->mParent != nullptr)
        widget->mParent->RemoveWidget(widget);
    if (mApp != nullptr)
        mApp->SafeDeleteWidget(widget);
    else if (mWalkDepth > 0)
        mPendingDeletes.push_back(widget);
    else
        delete widget;
}

void WidgetManager::FlushDeletes()
{
    std::vector<Widget*> due;
    due.swap(mPendingDeletes);
    for (Widget* widget : due)
        delete widget;
}

void WidgetManager::NoteDirty()
{
    mAnyDirty = true;
    mChangedInWalk = true;
}

bool WidgetManager::IsInTree(const Widget* widget) const
{
    const WidgetContainer* node = widget;
    while (node != nullptr && node->mParent != nullptr)
        node = node->mParent;
    return widget != nullptr && node == this;
}

Widget* WidgetManager::TopLevelOf(const Widget* widget) const
{
    const WidgetContainer* node = widget;
    while (node != nullptr && node->mParent != nullptr && node->mParent != this)
        node = node->mParent;
    if (node == nullptr || node->mParent != this)
        return nullptr;
    return const_cast<Widget*>(static_cast<const Widget*>(node));
}

// Called after the widget left the tree (its parent link is already cut).
void WidgetManager::WidgetRemoved(Widget* widget)
{
    auto inRemoved = [widget](const Widget* other) {
        for (const WidgetContainer* node = other; node != nullptr; node = node->mParent)
            if (node == widget)
                return true;
        return false;
    };
    if (mFocusWidget != nullptr && inRemoved(mFocusWidget))
    {
        mFocusWidget->mHasFocus = false;
        mFocusWidget = nullptr;
    }
    if (mOverWidget != nullptr && inRemoved(mOverWidget))
    {
        mOverWidget->mIsOver = false;
        mOverWidget = nullptr;
    }
    if (mDownWidget != nullptr && inRemoved(mDownWidget))
    {
        mDownWidget->mIsDown = false;
        mDownWidget = nullptr;
    }
    std::erase_if(mOverlays, [&](const Overlay& overlay) { return inRemoved(overlay.widget); });
    for (ModalEntry& entry : mModalStack)
        if (entry.previousFocus != nullptr && inRemoved(entry.previousFocus))
            entry.previousFocus = nullptr;
    // A modal widget that leaves the tree stops being modal.
    for (size_t i = mModalStack.size(); i-- > 0;)
        if (inRemoved(mModalStack[i].widget))
            RemoveBaseModal(mModalStack[i].widget);
}

// --- Modal stack -------------------------------------------------------------------------------------

void WidgetManager::AddBaseModal(Widget* widget)
{
    if (widget == nullptr)
        return;
    mModalStack.push_back({widget, mFocusWidget});
    if (mDownWidget != nullptr && IsBlocked(mDownWidget))
        ReleaseDownButtons();
    SetFocus(widget);
    RefreshHover();
}

void WidgetManager::RemoveBaseModal(Widget* widget)
{
    auto found = std::find_if(mModalStack.rbegin(), mModalStack.rend(),
                              [widget](const ModalEntry& entry) { return entry.widget == widget; });
    if (found == mModalStack.rend())
        return;
    const bool wasTop = found == mModalStack.rbegin();
    Widget* previousFocus = found->previousFocus;
    mModalStack.erase(std::next(found).base());
    if (wasTop && previousFocus != nullptr && IsInTree(previousFocus) && !IsBlocked(previousFocus))
        SetFocus(previousFocus);
    RefreshHover();
}

Widget* WidgetManager::GetBaseModal() const
{
    return mModalStack.empty() ? nullptr : mModalStack.back().widget;
}

bool WidgetManager::IsBlocked(const Widget* widget) const
{
    const Widget* barrier = mModalStack.empty() ? nullptr : TopLevelOf(mModalStack.back().widget);
    if (barrier == nullptr)
        return false;
    const Widget* top = TopLevelOf(widget);
    if (top == nullptr)
        return true;
    auto position = [this](const Widget* w) { return std::find(mWidgets.begin(), mWidgets.end(), w); };
    return position(top) < position(barrier);
}

// --- Frames ------------------------------------------------------------------------------------------

void WidgetManager::UpdateTree(Widget* widget)
{
    widget->Update();
    const std::vector<Widget*> children = widget->mWidgets;
    for (Widget* child : children)
        if (child->mParent == widget)
            UpdateTree(child);
}

void WidgetManager::UpdateTreeSmooth(Widget* widget, float fraction)
{
    widget->UpdateF(fraction);
    const std::vector<Widget*> children = widget->mWidgets;
    for (Widget* child : children)
        if (child->mParent == widget)
            UpdateTreeSmooth(child, fraction);
}

bool WidgetManager::UpdateFrame()
{
    WalkScope walk(*this);
    mChangedInWalk = false;
    const std::vector<Widget*> children = mWidgets;
    for (Widget* child : children)
        if (child->mParent == this)
            UpdateTree(child);
    return mChangedInWalk;
}

bool WidgetManager::UpdateFrameSmooth(float fraction)
{
    WalkScope walk(*this);
    mChangedInWalk = false;
    const std::vector<Widget*> children = mWidgets;
    for (Widget* child : children)
        if (child->mParent == this)
            UpdateTreeSmooth(child, fraction);
    return mChangedInWalk;
}

void WidgetManager::SetScreenImage(Image* screen)
{
    mScreenImage = screen;
    if (mApp != nullptr)
        SetSize(mApp->mWidth, mApp->mHeight);
    else if (screen != nullptr)
        SetSize(screen->mWidth, screen->mHeight);
    MarkAllDirty();
}

void WidgetManager::DeferOverlay(Widget* widget, int priority)
{
    if (widget != nullptr)
        mOverlays.push_back({widget, priority});
}

void WidgetManager::ClearDirty(WidgetContainer* node)
{
    node->mDirty = false;
    for (Widget* child : node->mWidgets)
        ClearDirty(child);
}

// The widget draws translated to itself and clipped to itself (within its parent); its
// children draw over it, each in a state of its own.
void WidgetManager::DrawTree(Widget* widget, Graphics& g)
{
    if (!widget->mVisible)
        return;
    g.PushState();
    g.Translate(widget->mX, widget->mY);
    g.ClipRect(0, 0, widget->mWidth, widget->mHeight);
    g.PushState();
    widget->Draw(&g);
    g.PopState();
    const std::vector<Widget*> children = widget->mWidgets;
    for (Widget* child : children)
        if (child->mParent == widget)
            DrawTree(child, g);
    g.PopState();
}

// Lower priorities first; equal priorities in the order they were asked for.
void WidgetManager::DrawOverlays()
{
    std::vector<Overlay> overlays;
    overlays.swap(mOverlays);
    std::stable_sort(overlays.begin(), overlays.end(),
                     [](const Overlay& a, const Overlay& b) { return a.priority < b.priority; });
    for (const Overlay& overlay : overlays)
    {
        if (!IsInTree(overlay.widget))
            continue; // removed by an earlier overlay
        Graphics g(mScreenImage);
        const Point position = overlay.widget->GetAbsolutePosition();
        g.Translate(position.x, position.y);
        overlay.widget->DrawOverlay(&g);
    }
}

bool WidgetManager::DrawScreen()
{
    if (mScreenImage == nullptr || !mAnyDirty)
        return false;
    WalkScope walk(*this);
    mAnyDirty = false;
    Graphics g(mScreenImage);
    g.ClipRect(0, 0, mWidth, mHeight);
    const std::vector<Widget*> children = mWidgets;
    for (Widget* child : children)
        if (child->mParent == this)
            DrawTree(child, g);
    DrawOverlays();
    ClearDirty(this);
    // What a widget marked while drawing is drawn next time.
    return true;
}

// --- Clipboard ----------------------------------------------------------------------------------------

std::wstring WidgetManager::GetClipboardText() const
{
    return mApp != nullptr ? StringToWString(mApp->GetClipboardText()) : std::wstring();
}

void WidgetManager::CopyToClipboard(const std::wstring& text) const
{
    if (mApp != nullptr)
        mApp->CopyToClipboard(WStringToString(text));
}
} // namespace Quoll
