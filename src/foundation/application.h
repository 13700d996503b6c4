#pragma once
// The application object: catches what no window catches and shows it in the standard error box,
// so the window stays usable.

#include <QApplication>

class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    static constexpr const char *helpFile = "ZELV.HLP";
};

// Shows an error that escaped every window guard (the standard error box).
void showUncaught(const std::exception &e);
