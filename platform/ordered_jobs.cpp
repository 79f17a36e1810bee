#include "platform/ordered_jobs.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/process_exit.h"

void runOrderedJobs(int count, const std::function<void(int)>& produce, const std::function<void(int)>& consume,
                    const std::function<void()>& idle) {
    if (count <= 0) return;
    std::unique_ptr<std::atomic<bool>[]> done(new std::atomic<bool>[count]);
    for (int i = 0; i < count; i++) done[i] = false;
    std::atomic<int> next{0};
    int consumed = 0;  // under the mutex
    std::mutex mutex;
    std::condition_variable finished, taken;

    int workerCount = int(std::thread::hardware_concurrency());
    if (workerCount < 1) workerCount = 1;
    if (workerCount > count) workerCount = count;
    // Produced work waits in memory for its turn (a decoded picture for its
    // upload): workers stay at most this many jobs ahead of the consumer.
    const int ahead = 4 * workerCount;
    std::vector<std::thread> workers;
    for (int w = 0; w < workerCount; w++)
        workers.emplace_back([&] {
            BackgroundWork working;
            for (int i; (i = next++) < count;) {
                {
                    std::unique_lock<std::mutex> lock(mutex);
                    taken.wait(lock, [&] { return i < consumed + ahead; });
                }
                produce(i);
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    done[i] = true;
                }
                finished.notify_one();
            }
        });

    for (int i = 0; i < count; i++) {
        idle();  // at least once a job, so the caller stays responsive
        while (!done[i]) {
            std::unique_lock<std::mutex> lock(mutex);
            if (!finished.wait_for(lock, std::chrono::milliseconds(10), [&] { return done[i].load(); })) {
                lock.unlock();
                idle();
            }
        }
        consume(i);
        {
            std::lock_guard<std::mutex> lock(mutex);
            consumed = i + 1;
        }
        taken.notify_all();
    }
    for (std::thread& worker : workers) worker.join();
}
