// Saves the whole screen of the display named by DISPLAY as a PNG file: a look at the virtual
// display on which scripts/start runs the program where there is no display of its own.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: screenshot FILE.png\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (!QGuiApplication::primaryScreen()->grabWindow(0).save(path, "PNG")) {
        std::fprintf(stderr, "screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
