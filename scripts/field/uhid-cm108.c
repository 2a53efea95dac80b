/* A USB audio interface of the CM108 family as the kernel sees it, made through /dev/uhid: a
 * real /dev/hidrawN with C-Media's vendor and the CM108's product, a 4-byte input report (the
 * buttons) and a 4-byte output report (the GPIO pins). Every output report the station writes
 * is logged with its time; commands on the control FIFO inject input reports or unplug and plug
 * the device again:
 *   in XX      an input report whose first byte (the buttons) is XX in hexadecimal
 *   unplug     the device goes (UHID_DESTROY)
 *   plug       it comes back (UHID_CREATE2)
 * Log lines: "OUT <ms> <hex bytes>", "OPEN <ms>", "CLOSE <ms>", "PLUGGED <ms>", "UNPLUGGED <ms>",
 * with a monotonic clock in milliseconds. Usage: uhid-cm108 CONTROL-FIFO LOG */
#include <errno.h>
#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static const unsigned char descriptor[] = {
    0x06, 0x00, 0xff,       /* usage page (vendor) */
    0x09, 0x01,             /* usage 1 */
    0xa1, 0x01,             /* collection (application) */
    0x15, 0x00, 0x26, 0xff, 0x00, 0x75, 0x08, /* 0..255, 8 bits */
    0x95, 0x04, 0x09, 0x01, 0x81, 0x02,       /* 4 input bytes */
    0x95, 0x04, 0x09, 0x01, 0x91, 0x02,       /* 4 output bytes */
    0xc0,
};

static FILE *logFile;

static long long nowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
}

static int send(int fd, const struct uhid_event *event)
{
    if (write(fd, event, sizeof *event) != (ssize_t)sizeof *event) {
        perror("uhid-cm108: write");
        return -1;
    }
    return 0;
}

static int plug(int fd)
{
    struct uhid_event e;
    memset(&e, 0, sizeof e);
    e.type = UHID_CREATE2;
    strcpy((char *)e.u.create2.name, "C-Media Electronics Inc. USB Audio Device");
    strcpy((char *)e.u.create2.phys, "uhid-cm108");
    e.u.create2.rd_size = sizeof descriptor;
    e.u.create2.bus = 0x03; /* BUS_USB */
    e.u.create2.vendor = 0x0d8c;
    e.u.create2.product = 0x013c;
    memcpy(e.u.create2.rd_data, descriptor, sizeof descriptor);
    if (send(fd, &e) != 0)
        return -1;
    fprintf(logFile, "PLUGGED %lld\n", nowMs());
    return 0;
}

static void obey(int fd, char *line)
{
    struct uhid_event e;
    memset(&e, 0, sizeof e);
    unsigned buttons;
    if (sscanf(line, "in %x", &buttons) == 1) {
        e.type = UHID_INPUT2;
        e.u.input2.size = 4;
        e.u.input2.data[0] = (unsigned char)buttons;
        send(fd, &e);
        fprintf(logFile, "IN %lld %02x\n", nowMs(), buttons);
    } else if (strncmp(line, "unplug", 6) == 0) {
        e.type = UHID_DESTROY;
        send(fd, &e);
        fprintf(logFile, "UNPLUGGED %lld\n", nowMs());
    } else if (strncmp(line, "plug", 4) == 0) {
        plug(fd);
    }
}

static void answer(int fd, const struct uhid_event *in)
{
    struct uhid_event e;
    memset(&e, 0, sizeof e);
    switch (in->type) {
    case UHID_OUTPUT:
        fprintf(logFile, "OUT %lld", nowMs());
        for (unsigned i = 0; i < in->u.output.size; ++i)
            fprintf(logFile, " %02x", in->u.output.data[i]);
        fputc('\n', logFile);
        break;
    case UHID_OPEN:
        fprintf(logFile, "OPEN %lld\n", nowMs());
        break;
    case UHID_CLOSE:
        fprintf(logFile, "CLOSE %lld\n", nowMs());
        break;
    case UHID_GET_REPORT: /* the real chip has no feature reports worth reading */
        e.type = UHID_GET_REPORT_REPLY;
        e.u.get_report_reply.id = in->u.get_report.id;
        e.u.get_report_reply.err = EIO;
        send(fd, &e);
        break;
    case UHID_SET_REPORT:
        e.type = UHID_SET_REPORT_REPLY;
        e.u.set_report_reply.id = in->u.set_report.id;
        e.u.set_report_reply.err = EIO;
        send(fd, &e);
        break;
    default:
        break;
    }
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: uhid-cm108 CONTROL-FIFO LOG\n");
        return 2;
    }
    logFile = fopen(argv[2], "a");
    if (!logFile) {
        perror(argv[2]);
        return 1;
    }
    setvbuf(logFile, NULL, _IOLBF, 0);
    unlink(argv[1]);
    if (mkfifo(argv[1], 0600) != 0) {
        perror(argv[1]);
        return 1;
    }
    int control = open(argv[1], O_RDWR | O_NONBLOCK); /* RDWR: no end of file between writers */
    int fd = open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (control < 0 || fd < 0) {
        perror("uhid-cm108: open");
        return 1;
    }
    if (plug(fd) != 0)
        return 1;
    char pending[256];
    size_t used = 0;
    for (;;) {
        struct pollfd p[2] = {{fd, POLLIN, 0}, {control, POLLIN, 0}};
        if (poll(p, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return 1;
        }
        if (p[0].revents & POLLIN) {
            struct uhid_event e;
            if (read(fd, &e, sizeof e) > 0)
                answer(fd, &e);
        }
        if (p[1].revents & POLLIN) {
            ssize_t n = read(control, pending + used, sizeof pending - 1 - used);
            if (n > 0)
                used += (size_t)n;
            char *end;
            pending[used] = 0;
            while ((end = strchr(pending, '\n'))) {
                *end = 0;
                obey(fd, pending);
                used -= (size_t)(end + 1 - pending);
                memmove(pending, end + 1, used + 1);
            }
            if (used == sizeof pending - 1)
                used = 0;
        }
    }
}
