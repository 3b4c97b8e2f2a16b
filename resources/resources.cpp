#include "tabulo/resources/resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE names a function in the global namespace.
static void initTabulo() {
    Q_INIT_RESOURCE(tabulo);
}

void InitTabuloResources() {
    initTabulo();
}
