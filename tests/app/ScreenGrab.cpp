// Saves the whole screen of the display it runs on as a PNG file: the screenshot step of
// scripts/screenshot.sh, which needs no image tools beyond Qt.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: quarvel-screen-grab FILE.png\n", stderr);
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot grab the screen into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
