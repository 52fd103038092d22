#include "play/hint/hint_lesson.h"

void HintLesson::Drop() {
    worker.Cancel();
    stage = LessonStage::None;
}

void HintLesson::Reset() {
    Drop();
    values.clear();
    eliminated.clear();
}

const HintMarks* HintLesson::ShownMarks(std::uint64_t nowRevision) const {
    const bool shown = stage == LessonStage::Named || Detailed();
    return shown && revision == nowRevision ? &reply.marks : nullptr;
}
