#include "tabulo/app/program.h"

int main(int argc, char** argv) {
    return RunTabulo(argc, argv);
}
