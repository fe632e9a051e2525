"""Local FTP server for the transfer tests (pyftpdlib).

Usage: ftp_server.py ROOT USER PASSWORD
Binds 127.0.0.1 on a free port, prints the port on the first line of stdout,
then serves ROOT to USER (full rights) until it is killed. Passive and active
(PORT/EPRT to 127.0.0.1) transfers are both allowed.
"""
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    root, user, password = sys.argv[1:4]
    logging.basicConfig(level=logging.CRITICAL)
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elradfmwMT")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.masquerade_address = None
    server = FTPServer(("127.0.0.1", 0), handler)
    print(server.address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
