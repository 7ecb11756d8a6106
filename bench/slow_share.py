#!/usr/bin/python3
"""A folder mounted as a slow share: a FUSE file system that passes every request to a folder
of the host after a fixed delay, as a file server on a local network answers. Requests are
answered on several threads at once, as a server answers several.

    slow_share.py [--cache] [--writable] FOLDER MOUNTPOINT [DELAY_MS]

In the foreground; unmount to end it. Without --cache the kernel keeps nothing between requests
(every lookup, attribute query and listing goes to the share); with it, it keeps entries and
attributes for a second, its default and close to what the clients of real shares keep. Read
only unless --writable: then files and folders can be made, written, renamed, linked and
removed, and their modes, times and extended attributes set, as far as the host folder allows.

The share counts the requests it answers by kind. Reading MOUNTPOINT/.slow-share-requests
(which no listing shows, and whose own requests are not counted) gives the counts since the
mount, one "KIND COUNT" a line, padded with spaces to a fixed size; `total` sums them.
"""

import argparse
import errno
import os
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations

STAT_FIELDS = ("st_mode", "st_ino", "st_nlink", "st_uid", "st_gid", "st_size")
TIME_FIELDS = ("st_atime", "st_mtime", "st_ctime")
COUNTS_PATH = "/.slow-share-requests"
COUNTS_SIZE = 4096
COUNTS_HANDLE = 1 << 62
# Not requests of a client: the mount's start and end.
UNCOUNTED = ("init", "destroy")


def stat_dict(st):
    answer = {field: getattr(st, field) for field in STAT_FIELDS}
    for field in TIME_FIELDS:
        answer[field] = getattr(st, field + "_ns")
    return answer


class SlowShare(Operations):
    # Times go as nanoseconds both ways, so that a copy's times survive the share exactly.
    use_ns = True

    def __init__(self, root, delay, writable):
        self.root = root
        self.delay = delay
        self.writable = writable
        self.counts = {}
        # Not named "lock": fusepy would take that for the handler of clients' file locks.
        self.mutex = threading.Lock()

    def __call__(self, op, path, *args):
        if path == COUNTS_PATH:
            return self._counts_file(op, *args)
        if op not in UNCOUNTED:
            with self.mutex:
                self.counts[op] = self.counts.get(op, 0) + 1
            time.sleep(self.delay)
        return super().__call__(op, path, *args)

    def _counts_text(self):
        with self.mutex:
            counts = dict(self.counts)
        lines = ["%s %d" % (kind, counts[kind]) for kind in sorted(counts)]
        lines.append("total %d" % sum(counts.values()))
        text = ("\n".join(lines) + "\n").encode()
        return text + b" " * (COUNTS_SIZE - len(text))

    def _counts_file(self, op, *args):
        if op == "getattr":
            now = time.time_ns()
            return {"st_mode": 0o100444, "st_nlink": 1, "st_size": COUNTS_SIZE,
                    "st_uid": os.getuid(), "st_gid": os.getgid(), "st_atime": now,
                    "st_mtime": now, "st_ctime": now}
        if op == "open":
            if args[0] & (os.O_WRONLY | os.O_RDWR):
                raise FuseOSError(errno.EACCES)
            return COUNTS_HANDLE
        if op == "read":
            size, offset = args[0], args[1]
            return self._counts_text()[offset:offset + size]
        if op in ("flush", "release", "access"):
            return 0
        raise FuseOSError(errno.EACCES)

    def _host(self, path):
        return os.path.join(self.root, path.lstrip("/"))

    def _writing(self):
        if not self.writable:
            raise FuseOSError(errno.EROFS)

    def getattr(self, path, fh=None):
        if fh is not None:
            return stat_dict(os.fstat(fh))
        return stat_dict(os.lstat(self._host(path)))

    def access(self, path, amode):
        if not os.access(self._host(path), amode, follow_symlinks=False):
            raise FuseOSError(errno.EACCES)
        return 0

    def readdir(self, path, fh):
        # "." with the folder's own number, as a server that gives numbers lists it.
        here = os.stat(self._host(path))
        entries = [(".", {"st_mode": here.st_mode, "st_ino": here.st_ino}, 0), ("..", None, 0)]
        with os.scandir(self._host(path)) as listing:
            for entry in listing:
                # The type goes along, as a share's listing gives it.
                st = entry.stat(follow_symlinks=False)
                entries.append((entry.name, {"st_mode": st.st_mode, "st_ino": st.st_ino}, 0))
        return entries

    def readlink(self, path):
        return os.readlink(self._host(path))

    def statfs(self, path):
        st = os.statvfs(self._host(path))
        return {key: getattr(st, key) for key in ("f_bsize", "f_frsize", "f_blocks", "f_bfree",
                                                    "f_bavail", "f_files", "f_ffree", "f_namemax")}

    def open(self, path, flags):
        if flags & (os.O_WRONLY | os.O_RDWR | os.O_TRUNC):
            self._writing()
        return os.open(self._host(path), flags)

    def create(self, path, mode, fi=None):
        self._writing()
        return os.open(self._host(path), os.O_RDWR | os.O_CREAT | os.O_TRUNC, mode)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def write(self, path, data, offset, fh):
        return os.pwrite(fh, data, offset)

    def truncate(self, path, length, fh=None):
        self._writing()
        if fh is not None:
            os.ftruncate(fh, length)
        else:
            os.truncate(self._host(path), length)

    def fsync(self, path, datasync, fh):
        if datasync:
            os.fdatasync(fh)
        else:
            os.fsync(fh)

    def release(self, path, fh):
        os.close(fh)

    def unlink(self, path):
        self._writing()
        os.unlink(self._host(path))

    def mkdir(self, path, mode):
        self._writing()
        os.mkdir(self._host(path), mode)

    def rmdir(self, path):
        self._writing()
        os.rmdir(self._host(path))

    def rename(self, old, new):
        self._writing()
        os.rename(self._host(old), self._host(new))

    def link(self, target, source):
        self._writing()
        os.link(self._host(source), self._host(target))

    def symlink(self, target, source):
        self._writing()
        os.symlink(source, self._host(target))

    def chmod(self, path, mode):
        self._writing()
        os.chmod(self._host(path), mode)

    def chown(self, path, uid, gid):
        self._writing()
        os.chown(self._host(path), uid, gid, follow_symlinks=False)

    def utimens(self, path, times=None):
        self._writing()
        if times is None:
            os.utime(self._host(path), follow_symlinks=False)
        else:
            os.utime(self._host(path), ns=times, follow_symlinks=False)

    def getxattr(self, path, name, position=0):
        return os.getxattr(self._host(path), name, follow_symlinks=False)

    def listxattr(self, path):
        return os.listxattr(self._host(path), follow_symlinks=False)

    def setxattr(self, path, name, value, options, position=0):
        self._writing()
        os.setxattr(self._host(path), name, value, options, follow_symlinks=False)

    def removexattr(self, path, name):
        self._writing()
        os.removexattr(self._host(path), name, follow_symlinks=False)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cache", action="store_true",
                        help="let the kernel keep entries and attributes for a second")
    parser.add_argument("--writable", action="store_true", help="accept changes")
    parser.add_argument("folder")
    parser.add_argument("mountpoint")
    parser.add_argument("delay_ms", nargs="?", type=float, default=1.0)
    args = parser.parse_args()
    timeout = 1 if args.cache else 0
    # The host's inode numbers, as a file server gives its own (an SMB share with serverino, NFS):
    # a file keeps its number under a new name or link.
    FUSE(SlowShare(os.path.abspath(args.folder), args.delay_ms / 1000, args.writable),
         args.mountpoint, foreground=True, nothreads=False, ro=not args.writable,
         entry_timeout=timeout, attr_timeout=timeout, negative_timeout=0, use_ino=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
