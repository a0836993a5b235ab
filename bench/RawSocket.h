#pragma once

// The raw socket calls that the pipe benchmarks use as their floor.

#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cstddef>
#include <thread>

// Sends everything, as a pipe write does; stops at the first failure.
inline void SendAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0) {
            return;
        }
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
}

// Gives the reader the processor until it has read everything.
inline void WaitUntilRead(int fd)
{
    int unread = 1;
    while (ioctl(fd, SIOCOUTQ, &unread) == 0 && unread > 0) {
        std::this_thread::yield();
    }
}
