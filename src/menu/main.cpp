#include "menu.h"

int main(int argc, char** argv)
{
    return runMenu(argc, argv);
}
