// Makes steps of the platform's file layer fail while the object lives.
#pragma once

#include "platform/file_faults.h"

#include <cerrno>
#include <map>
#include <vector>

namespace velmora::test {

struct Fault {
    platform::FileStep step;
    int error = ENOSPC;
    int occurrence = 1; // fails the occurrence-th time the step runs (1 = the first)
};

class InjectedFaults {
  public:
    explicit InjectedFaults(std::vector<Fault> faults) : faults_(std::move(faults)) {
        platform::setFileFaultHook([this](platform::FileStep step) {
            const int count = ++seen[step];
            for (const Fault& fault : faults_) {
                if (fault.step == step && fault.occurrence == count) {
                    return fault.error;
                }
            }
            return 0;
        });
    }
    ~InjectedFaults() { platform::setFileFaultHook({}); }
    InjectedFaults(const InjectedFaults&) = delete;
    InjectedFaults& operator=(const InjectedFaults&) = delete;

    std::map<platform::FileStep, int> seen; // how often each step was reached

  private:
    std::vector<Fault> faults_;
};

} // namespace velmora::test
