#!/usr/bin/python3
"""A folder mounted as a slow share: a FUSE file system that passes every request to a folder
of the host after a fixed delay, as a file server on a local network answers. Requests are
answered on several threads at once, as a server answers several. Read only.

    slow_share.py FOLDER MOUNTPOINT [DELAY_MS]     (in the foreground; unmount to end it)
"""

import errno
import os
import sys
import time

from fusepy import FUSE, FuseOSError, Operations

STAT_FIELDS = ("st_mode", "st_ino", "st_nlink", "st_uid", "st_gid", "st_size", "st_atime",
               "st_mtime", "st_ctime")


class SlowShare(Operations):
    def __init__(self, root, delay):
        self.root = root
        self.delay = delay

    def _host(self, path):
        time.sleep(self.delay)
        return os.path.join(self.root, path.lstrip("/"))

    def getattr(self, path, fh=None):
        try:
            st = os.lstat(self._host(path))
        except OSError as error:
            raise FuseOSError(error.errno)
        return {field: getattr(st, field) for field in STAT_FIELDS}

    def readdir(self, path, fh):
        host = self._host(path)
        entries = [(".", None, 0), ("..", None, 0)]
        with os.scandir(host) as listing:
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
        if flags & (os.O_WRONLY | os.O_RDWR):
            raise FuseOSError(errno.EROFS)
        return os.open(self._host(path), flags)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        os.close(fh)


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__, file=sys.stderr)
        return 2
    delay = (float(sys.argv[3]) if len(sys.argv) == 4 else 1.0) / 1000
    # Nothing is kept by the kernel between requests: every lookup, attribute query and listing
    # goes to the share.
    FUSE(SlowShare(os.path.abspath(sys.argv[1]), delay), sys.argv[2], foreground=True,
         nothreads=False, ro=True, entry_timeout=0, attr_timeout=0, negative_timeout=0)
    return 0


if __name__ == "__main__":
    sys.exit(main())
