#include "q5.h"

namespace lumo {

void Q5::Reset()
{
    sfcRecs.clear();
    fltRecs.clear();
    windRecs.clear();
    hasPtuExt = 0;
    hasGpsVel = 0;
    launchRec = nullptr;
    burstRec = nullptr;
}

} // namespace lumo
