// Writes the application icon, as the windows paint it, into a freedesktop icon theme folder:
// FOLDER/hicolor/NxN/apps/NAME.png for each size N given. Run at build time; needs no display.
#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

#include "shell/application_icon.h"

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fputs("usage: application_icons FOLDER NAME SIZE...\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString apps = QStringLiteral("%1/hicolor/%2x%2/apps").arg(folder).arg(size);
        const QString path = apps + QLatin1Char('/') + name + QStringLiteral(".png");
        if (size <= 0 || !QDir().mkpath(apps) ||
            !veltrano::paintApplicationIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "application_icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
