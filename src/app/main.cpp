#include "app/registry.h"
#include "app/tform1.h"
#include "foundation/application.h"
#include "foundation/windows.h"

int main(int argc, char **argv)
{
    Application app(argc, argv);
    windows::registerAll();
    TForm1 form;
    if (!form.startedUp())
        return 1;
    form.show();
    return app.exec();
}
