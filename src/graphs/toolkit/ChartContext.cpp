#include "graphs/toolkit/ChartContext.h"

namespace vexa::toolkit {

ChartContext::ChartContext()
    : font(QString::fromLatin1(kDefaultFace))
{
    font.setPointSizeF(kDefaultPointSize);
}

}  // namespace vexa::toolkit
