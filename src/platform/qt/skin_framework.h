#pragma once

#include <QString>
#include <QtGlobal>

namespace veltrano::platform {

// The skin component's members the program uses, by their dispatch numbers. The program
// relies only on calling them in order; what the options mean is the component's.
class SkinComponent {
public:
    virtual ~SkinComponent() = default;
    // 2: loads the skin from a file; iniSection picks a skin inside a multi-skin file.
    virtual void LoadSkin(const QString& path, const QString& iniSection) = 0;
    // 1: the application options, a set of flag bits.
    virtual int ApplyOptions() const = 0;
    virtual void setApplyOptions(int options) = 0;
    // 5 and 10: whether windows created later, and windows of other threads, are skinned too.
    virtual void setAutoApplyNewWindows(bool enabled) = 0;
    virtual void setAutoApplyNewThreads(bool enabled) = 0;
    // 3: skins the window with that native handle.
    virtual void ApplyWindow(qint64 windowHandle) = 0;
};

// Our skin component: a skin file is a Qt style sheet.
class SkinFramework final : public SkinComponent {
public:
    // Bit 0 of the options: the skin also styles message boxes and dialogs.
    static constexpr int kApplyToDialogs = 1;

    void LoadSkin(const QString& path, const QString& iniSection) override;
    int ApplyOptions() const override { return mOptions; }
    void setApplyOptions(int options) override { mOptions = options; }
    void setAutoApplyNewWindows(bool enabled) override { mAutoApplyNewWindows = enabled; }
    // The program's windows all live on one thread; the option is kept for the skin's sake.
    void setAutoApplyNewThreads(bool enabled) override { mAutoApplyNewThreads = enabled; }
    void ApplyWindow(qint64 windowHandle) override;

private:
    QString mStyleSheet;
    int mOptions = 0;
    bool mAutoApplyNewWindows = false;
    bool mAutoApplyNewThreads = false;
};

}  // namespace veltrano::platform
