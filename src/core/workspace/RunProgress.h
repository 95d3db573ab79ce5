// How far a run has come, and the callback through which a window follows it
// and may ask it to stop.
#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <type_traits>
#include <utility>

namespace kavrin {

struct RunProgress {
    std::uint64_t PointsDone = 0;
    std::uint64_t PointsTotal = 0;
    double CurrentTime = 0;
};

// The progress bar's position: 100·done/total rounded, halves to even.
int ProgressPosition(const RunProgress& progress);

// What a progress callback asks of the run.
enum class RunRequest { Continue, StopAfterThisTime };

// Called before every row of a time file is written, on the thread that runs
// the run, so a window can show progress. It may ask the run to stop once the
// time being written is complete; a callable that returns nothing always lets
// the run continue. May be empty.
class RowCallback {
public:
    RowCallback() = default;

    template <typename F>
    requires(!std::is_same_v<std::remove_cvref_t<F>, RowCallback> && std::invocable<F&, const RunProgress&>)
        RowCallback(F callable)
    {
        if constexpr (std::is_same_v<std::invoke_result_t<F&, const RunProgress&>, RunRequest>) {
            call_ = std::move(callable);
        } else {
            call_ = [callable = std::move(callable)](const RunProgress& progress) mutable {
                callable(progress);
                return RunRequest::Continue;
            };
        }
    }

    explicit operator bool() const { return static_cast<bool>(call_); }
    RunRequest operator()(const RunProgress& progress) const { return call_ ? call_(progress) : RunRequest::Continue; }

private:
    std::function<RunRequest(const RunProgress&)> call_;
};

}  // namespace kavrin
