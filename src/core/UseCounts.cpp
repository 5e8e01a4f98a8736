#include "UseCounts.h"

#include "PatternDocument.h"

void changeColorUse(PatternDocument& doc, ColorKey c, TColorInfo& e, qint32 delta, bool resort)
{
    TStitch& st = doc.stitch();
    const qint32 before = e.colorCount;
    e.colorCount += delta;
    if (before < 1 && e.colorCount >= 1) {
        if (e.charID >= 0 && e.charID < st.chars.CharsUsed.size())
            st.chars.CharsUsed[e.charID] = 1;
        doc.colorAdded(c);
        st.setUsedColors(st.usedColors() + 1);
    } else if (before >= 1 && e.colorCount < 1) {
        // Two colours may share a symbol: it stays marked while another used colour has it.
        if (e.charID >= 0 && e.charID < st.chars.CharsUsed.size()) {
            bool shared = false;
            for (const auto& [key, other] : st.Colors) {
                if (key != c && other.charID == e.charID && other.colorCount >= 1) {
                    shared = true;
                    break;
                }
            }
            if (!shared)
                st.chars.CharsUsed[e.charID] = 0;
        }
        doc.colorRemoved(c, resort);
        st.setUsedColors(st.usedColors() - 1);
    }
}
