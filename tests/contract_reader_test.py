"""The Python side reads every constant of the C++ contract headers, so no
value there needs a Python copy."""

import os
import re
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "wine"))
import contract  # noqa: E402


class ContractReaderTest(unittest.TestCase):
    def test_reads_every_constant_declared(self):
        for header in contract.HEADERS:
            with open(os.path.join(contract.FOLDER, header), encoding="utf-8") as f:
                declared = re.findall(r"constexpr[^=(]*\b(k\w+)(?:\[\])?\s*=", f.read())
            read = contract.read([header])
            self.assertTrue(declared, header)
            self.assertEqual(list(read), declared, header)

    def test_joined_paths_are_built_from_their_parts(self):
        self.assertEqual(contract.kRendererSkyPicturePath,
                         "c:\\" + contract.kWorkingFolderName + "\\" + contract.kSkyPictureName)
        self.assertEqual(contract.kMs3dHeaderSize, len(contract.kMs3dIdentifier) + 4)


if __name__ == "__main__":
    unittest.main()
