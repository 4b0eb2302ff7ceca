#pragma once
// DriverLevelView: the headless driver's play screen. It shows nothing, like NullLevelView, but
// tells its observer about every move shown and every turn begun, and answers the cell choice
// with the cells the driver picked (an armed bomb waits for them). Ending the choice forgets
// them, as the scene does.
#include "game/level/NullLevelView.h"

#include <vector>

class DriverLevelView : public NullLevelView
{
public:
    class Observer
    {
    public:
        virtual ~Observer() = default;
        virtual void OnMoveShown(int from, int to) = 0;
        virtual void OnTurnBegun(int player) = 0;
    };

    void SetObserver(Observer* observer) { mObserver = observer; }
    void SetSelectedTargets(std::vector<int> cells) { mTargets = std::move(cells); }

    void GetSelectedTargets(std::vector<int>& cells) override { cells.insert(cells.end(), mTargets.begin(), mTargets.end()); }
    void EndCellSelection() override { mTargets.clear(); }
    void MoveBacterium(int from, int to, bool, int) override
    {
        if (mObserver)
            mObserver->OnMoveShown(from, to);
    }
    void SetActivePlayer(int player) override
    {
        if (mObserver)
            mObserver->OnTurnBegun(player);
    }

private:
    Observer* mObserver = nullptr;
    std::vector<int> mTargets;
};
