// The saver's work done the plain Qt way, for the benchmark to measure Moondial beside: one
// 143 x 143 picture moved every 30 ms over a black full-screen window, its hands redrawn once
// a second.
//
//   minimal-qt PICTURE

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QTime>
#include <QTimer>
#include <QWidget>
#include <cmath>

class Face : public QWidget {
public:
    Face(const QPixmap& dial, QWidget* parent) : QWidget(parent), dial_(dial) {
        resize(dial.size());
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawPixmap(0, 0, dial_);
        const QTime now = QTime::currentTime();
        const QPointF centre(width() / 2.0, height() / 2.0);
        const auto hand = [&](double turns, double length, int pen, QColor colour) {
            const double angle = turns * 2 * M_PI - M_PI / 2;
            p.setPen(QPen(colour, pen));
            p.drawLine(centre, centre + QPointF(std::cos(angle), std::sin(angle)) * length);
        };
        hand((now.minute() + now.second() / 60.0) / 60, 40, 2, Qt::black);
        hand((now.hour() % 12 + now.minute() / 60.0) / 12, 30, 3, Qt::black);
        hand(now.second() / 60.0, 55, 1, Qt::red);
    }

private:
    QPixmap dial_;
};

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    QPalette black = window.palette();
    black.setColor(QPalette::Window, Qt::black);
    window.setPalette(black);
    window.setAutoFillBackground(true);
    Face face(QPixmap(argc > 1 ? argv[1] : ""), &window);
    int x = 0, y = 0, dx = 1, dy = 1;
    QTimer move;
    QObject::connect(&move, &QTimer::timeout, [&] {
        if (x + face.width() >= window.width() || x <= 0)
            dx = x <= 0 ? 2 : -2;
        if (y + face.height() >= window.height() || y <= 0)
            dy = y <= 0 ? 2 : -2;
        x += dx;
        y += dy;
        face.move(x, y);
    });
    move.start(30);
    QTimer hands;
    QObject::connect(&hands, &QTimer::timeout, [&] { face.update(); });
    hands.start(1000);
    window.showFullScreen();
    return application.exec();
}
