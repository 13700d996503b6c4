#include "foundation/ui.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
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
        case BoxKind::Question:
            ask(box);
            break;
        }
    }
    int showModal(QDialog &dialog) override { return dialog.exec(); }
    bool ask(const Box &box) override
    {
        QMessageBox mb(QMessageBox::Question, box.title, box.text, QMessageBox::Yes | QMessageBox::No,
                       QApplication::activeWindow());
        mb.button(QMessageBox::Yes)->setText(QStringLiteral("Igen"));
        mb.button(QMessageBox::No)->setText(QStringLiteral("Nem"));
        mb.setDefaultButton(QMessageBox::No);
        return mb.exec() == QMessageBox::Yes;
    }
    QString saveFileName(QWidget *parent, const QString &caption, const QString &proposed,
                         const QString &filter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, proposed, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }
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
bool ask(const QString &text)
{
    return handler().ask({BoxKind::Question, QStringLiteral("Zelvana"), text});
}
QString saveFileName(QWidget *parent, const QString &caption, const QString &proposed, const QString &filter)
{
    return handler().saveFileName(parent, caption, proposed, filter);
}

} // namespace ui
