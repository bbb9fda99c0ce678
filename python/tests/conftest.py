# Lets `python3 -m pytest python/tests` import the package from the source
# tree, without installing it first.
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
