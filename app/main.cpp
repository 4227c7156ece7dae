#include "app/Startup.h"

int main(int argc, char** argv)
{
    return quorvex::ui::runQuorvex(argc, argv);
}
