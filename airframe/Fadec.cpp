#include "airframe/Fadec.h"

namespace tavi {

void Fadec::requestReset() {
    resetRequest = {true, true};
    takeoffDataStep = 0;
}

} // namespace tavi
