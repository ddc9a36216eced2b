#include "app/menu.h"

int main() { run_menu(); }
