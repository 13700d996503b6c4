#include "foundation/ui.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace ui {
namespace {

class ProductionHandler : public Handler
{
public:
    void showBox(const Box &box) override
    {
        QWidget *parent = QApplication::activeWindow();
        switch (box.kind) {
        case BoxKind::Message: {
            QMessageBox mb(QMessageBox::Information, QStringLiteral("Zelvana"), box.text, QMessageBox::Ok,
                           parent);
            mb.exec();
            break;
        }
        case BoxKind::Confirm: {
            QMessageBox mb(QMessageBox::Question, QStringLiteral("Confirm"), box.text, QMessageBox::Yes,
                           parent);
            mb.button(QMessageBox::Yes)->setText(QStringLiteral("Yes"));
            mb.exec();
            break;
        }
        case BoxKind::Error: {
            QMessageBox mb(QMessageBox::Critical, QStringLiteral("Zelvana"), box.text, QMessageBox::Ok,
                           parent);
            mb.exec();
            break;
        }
        case BoxKind::Titled: {
            QMessageBox mb(QMessageBox::Critical, box.title, box.text, QMessageBox::Ok, parent);
            mb.exec();
            break;
        }
        }
    }
    int showModal(QDialog &dialog) override { return dialog.exec(); }
};

ProductionHandler production;
Handler *current = nullptr;

} // namespace

Handler &handler()
{
    return current ? *current : production;
}
void setHandler(Handler *h)
{
    current = h;
}

void message(const QString &text)
{
    handler().showBox({BoxKind::Message, QStringLiteral("Zelvana"), text});
}
void confirm(const QString &text)
{
    handler().showBox({BoxKind::Confirm, QStringLiteral("Confirm"), text});
}
void error(const QString &text)
{
    handler().showBox({BoxKind::Error, QStringLiteral("Zelvana"), text});
}
void titledBox(const QString &title, const QString &text)
{
    handler().showBox({BoxKind::Titled, title, text});
}
int showModal(QDialog &dialog)
{
    return handler().showModal(dialog);
}

} // namespace ui
