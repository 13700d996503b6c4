#pragma once
// The four code tables — cultivation branches, towns, ownership forms and locations — each with
// its list window and its edit window. The members differ only in their texts, columns and SQL.

#include "forms/editwindow.h"
#include "forms/listwindow.h"

// A window that the location list writes into when it is closed with "Kiválaszt" (the parcel
// edit window).
class LocationPickTarget
{
public:
    virtual ~LocationPickTarget() = default;
    virtual void setLocation(const QString &name, const QString &code) = 0;
};

class TForm5 : public ListWindow
{
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);
};
class TForm7 : public ListWindow
{
    Q_OBJECT
public:
    explicit TForm7(QWidget *parent = nullptr);
};
class TForm9 : public ListWindow
{
    Q_OBJECT
public:
    explicit TForm9(QWidget *parent = nullptr);
};
class TForm11 : public ListWindow
{
    Q_OBJECT
public:
    explicit TForm11(QWidget *parent = nullptr);
};

class TForm6 : public EditWindow
{
    Q_OBJECT
public:
    explicit TForm6(QWidget *parent = nullptr);
};
class TForm8 : public EditWindow
{
    Q_OBJECT
public:
    explicit TForm8(QWidget *parent = nullptr);
};
class TForm10 : public EditWindow
{
    Q_OBJECT
public:
    explicit TForm10(QWidget *parent = nullptr);
};
class TForm12 : public EditWindow
{
    Q_OBJECT
public:
    explicit TForm12(QWidget *parent = nullptr);
};

namespace codetables {
void registerWindows();
}
