#include "eclipse/contacts.h"

#include "eclipse/outline.h"

double ContactStepJD(const ContactTimes& contacts, int step) {
    return contacts.jdStart + step / static_cast<double>(kContactStepsPerDay);
}

ContactTimes ContactTimesOfDate(double jdStart) {
    ContactTimes c;
    c.jdStart = jdStart;
    const std::vector<ApparentPlaces> run =
        Tabulate(jdStart, kContactStepsPerDay, kContactStepsPerDay, true);
    for (int step = 0; step < static_cast<int>(run.size()); ++step) {
        const BesselianElements e = ElementsAt(run[static_cast<std::size_t>(step)]);
        if (TraceOutline(e, Cone::Penumbra, kContactSamples).hits > 0) {
            if (!c.eclipse)
                c.firstPenumbraStep = step;
            c.eclipse = true;
            c.lastPenumbraStep = step;
        }
        if (TraceOutline(e, Cone::Umbra, kContactSamples).hits > 0) {
            if (!c.umbral)
                c.firstUmbraStep = step;
            c.umbral = true;
            c.lastUmbraStep = step;
        }
    }
    return c;
}
