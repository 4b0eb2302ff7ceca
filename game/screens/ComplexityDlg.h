#pragma once
// ComplexityDlg: a profile's first choice of difficulty: easy (command 501) or normal (502),
// each with a hint above the pair; Escape (500) chooses nothing.
#include "game/ui/QuollDialog.h"

namespace Quoll
{
class Button;
}

class ComplexityDlg : public QuollDialog
{
public:
    static constexpr int kDialogId = 1008;
    static constexpr int kCommandCancel = 500;
    static constexpr int kCommandEasy = 501;
    static constexpr int kCommandNormal = 502;

    ComplexityDlg() : QuollDialog(kDialogId, kCommandCancel) {}

    void Attach(WidgetLink* link) override;
    void Detach() override;
    void Resize(int x, int y, int width, int height) override;

    [[nodiscard]] Quoll::Button* GetEasyButton() const { return mEasyButton; }
    [[nodiscard]] Quoll::Button* GetNormalButton() const { return mNormalButton; }

private:
    Quoll::Button* AddChoice(int id, const std::string& labelKey, const std::string& hintKey, int hintY);

    Quoll::Button* mEasyButton = nullptr;
    Quoll::Button* mNormalButton = nullptr;
};
