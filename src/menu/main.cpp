#include "menu.h"
#include "framework/process.h"

int main(int argc, char** argv)
{
    prepareProcess();
    return runMenu(argc, argv);
}
