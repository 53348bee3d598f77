#pragma once

#include <string>

namespace veltrano {

class GridSource;

// What "Start Joining" reads from the join setup window (Form2) while it runs. The window
// implements it over its own controls; the grids stay valid and unchanged during a run.
class JoinSetupView {
public:
    virtual ~JoinSetupView() = default;
    virtual std::string outputFolderText() const = 0;  // Text2, exactly as typed
    virtual bool isAppendModeSelected() const = 0;     // Option1
    virtual bool isJoinModeSelected() const = 0;       // Option2
    // 0-based position of the selected entry of Combo3 / Combo4, -1 when none is selected.
    // Entry p names column p (0-based) of grid 1 / grid 2.
    virtual int commonColumn1() const = 0;
    virtual int commonColumn2() const = 0;
    virtual const GridSource& grid1() const = 0;  // ListView1
    virtual const GridSource& grid2() const = 0;  // ListView2
    // Handles the window events that are waiting, once; a click on "Start Joining" among
    // them re-enters the command.
    virtual void processPendingEvents() = 0;
};

}  // namespace veltrano
