#pragma once
// What the application object needs of a framework dialog to keep it by id: its id, whether it
// is modal, its size for centring, its result, and the widget it is in the tree. The widget
// toolkit's dialog implements it.
namespace Quoll
{
class Widget;

class AppDialog
{
public:
    virtual ~AppDialog() = default;

    [[nodiscard]] virtual int GetDialogId() const = 0;
    [[nodiscard]] virtual bool IsModal() const = 0;
    [[nodiscard]] virtual int GetWidth() const = 0;
    [[nodiscard]] virtual int GetPreferredHeight(int width) = 0;
    virtual void Resize(int x, int y, int width, int height) = 0;
    // -1 while no button was pressed.
    [[nodiscard]] virtual int GetResult() const = 0;
    virtual void SetResult(int result) = 0;
    // The dialog as a widget of the tree; deleting that widget deletes the dialog.
    [[nodiscard]] virtual Widget* GetWidget() = 0;
};
} // namespace Quoll
