// The one owner of the program-wide objects. Each layer keeps its program-wide
// objects in a part of the current TProgramState: the program entry creates
// one at start (and the parts in a fixed order), a test creates a fresh one
// for each case. The parts are destroyed in the reverse order of their
// creation.
#pragma once

#include <memory>
#include <vector>

namespace sw {

class TProgramState {
  public:
    // Becomes the current state; raises EProgramState when one exists.
    TProgramState();
    ~TProgramState();
    TProgramState(const TProgramState&) = delete;
    TProgramState& operator=(const TProgramState&) = delete;

    // The part of type T, created with its default constructor at the first
    // request.
    template <class T> T& Part() {
        if (void* found = Find(Key<T>()))
            return *static_cast<T*>(found);
        auto holder = std::make_unique<Holder<T>>();
        T& part = holder->Value;
        Add(Key<T>(), std::move(holder));
        return part;
    }

    // The number of parts created so far.
    int PartCount() const { return static_cast<int>(parts_.size()); }

  private:
    struct HolderBase {
        virtual ~HolderBase() = default;
        virtual void* Get() = 0;
    };
    template <class T> struct Holder final : HolderBase {
        T Value;
        void* Get() override { return &Value; }
    };
    template <class T> static const void* Key() {
        static const char key = 0;
        return &key;
    }
    void* Find(const void* key) const;
    void Add(const void* key, std::unique_ptr<HolderBase> holder);

    std::vector<std::pair<const void*, std::unique_ptr<HolderBase>>> parts_;
};

// The current state; raises EProgramState when none exists.
TProgramState& CurrentProgramState();
bool HasProgramState();

// The program-wide part T of the current state.
template <class T> T& ProgramPart() { return CurrentProgramState().Part<T>(); }

} // namespace sw
