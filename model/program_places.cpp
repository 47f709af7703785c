#include "model/program_places.h"

const GazetteerLoad& ProgramGazetteer() {
    static const GazetteerLoad load = [] {
        const std::string file = FindGazetteerFile(RunningProgramFolder());
        return file.empty() ? GazetteerLoad{{}, "the list of places is not installed"}
                            : LoadGazetteer(file);
    }();
    return load;
}
