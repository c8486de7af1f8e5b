"""The interactive road: the real window driven with real input under Xvfb."""

import shutil
import time
import unittest

from harness import (BUILD, DRIVE_C, INSTALLER, MAIN_TITLE, PROGRAM_FILES, answer_message_box, click, control,
                     end_installer, focus, installer_command, kill_products, link_fields, product_fields,
                     product_windows, remove_shortcuts, shortcut, start, unix_path, wait_for_window, wait_until,
                     window_controls, windows_path, xdotool)

PROPOSAL = PROGRAM_FILES + "\\Ketrova\\v2023r1\\"
# Client coordinates of the controls (the window is borderless: client = window).
INSTALL = (562 + 53, 395 + 16)
CANCELAR = (674 + 53, 395 + 16)
TOGGLE = (522 + 17, 395 + 16)
BOXES = {name: (80 + 9, 212 + 32 * row + 9) for row, name in enumerate(
    ["Criar atalho na área de trabalho", "Criar atalho no menu inicial",
     "Executar o programa após instalação", "Instalar para todos os usuários (Administrador)"])}


class InteractiveInstall(unittest.TestCase):
    def setUp(self):
        remove_shortcuts()
        shutil.rmtree(unix_path(PROPOSAL), ignore_errors=True)
        self.process = start(installer_command(INSTALLER))
        self.window = wait_for_window(f"^{MAIN_TITLE}$", 60)

    def tearDown(self):
        end_installer(self.process)
        kill_products()
        # Other suites share the prefix: leave the proposed folder without a product.
        shutil.rmtree(unix_path(PROPOSAL), ignore_errors=True)
        remove_shortcuts()

    def open_panel(self):
        click(self.window, *TOGGLE)
        wait_until(lambda: control(window_controls(), "...")["visible"], 10, "the details panel")

    def set_box(self, caption, checked):
        if bool(control(window_controls(), caption)["checked"]) != checked:
            click(self.window, *BOXES[caption])
            wait_until(lambda: bool(control(window_controls(), caption)["checked"]) == checked, 10, caption)

    def finish(self):
        self.assertIn("Instalação concluída!", answer_message_box("Information", 120))
        return self.process.wait(60)

    def test_install_with_the_panel_open_starts_the_product(self):
        self.open_panel()
        edit = next(c for c in window_controls() if c["cls"].lower() == "edit")
        self.assertEqual(edit["text"], PROPOSAL)
        self.set_box("Criar atalho na área de trabalho", False)
        click(self.window, *INSTALL)
        # While the completion box is up the window is busy: panel closed, buttons disabled.
        wait_for_window("^Information$", 120)
        controls = window_controls()
        self.assertFalse(control(controls, "...")["visible"])
        self.assertFalse(control(controls, "Install")["enabled"])
        self.assertFalse(control(controls, "Cancelar")["enabled"])
        self.assertEqual(self.finish(), 0)
        self.assertTrue(unix_path(PROPOSAL + "Ketrova.exe").exists())
        self.assertTrue(shortcut(True, "startmenu").exists())
        self.assertFalse(shortcut(True, "desktop").exists())
        self.assertFalse(shortcut(False, "desktop").exists())
        title = wait_until(product_windows, 30, "the product")[0]
        self.assertEqual(product_fields(title)["exe"].lower(), (PROPOSAL + "Ketrova.exe").lower())

    def test_boxes_decide_the_shortcuts_and_the_start(self):
        self.open_panel()
        self.set_box("Criar atalho no menu inicial", False)
        self.set_box("Executar o programa após instalação", False)
        self.set_box("Instalar para todos os usuários (Administrador)", False)
        click(self.window, *INSTALL)
        self.assertEqual(self.finish(), 0)
        self.assertTrue(shortcut(False, "desktop").exists())
        self.assertEqual(link_fields(shortcut(False, "desktop"))["path"], PROPOSAL + "Ketrova.exe")
        for all_users, kind in ((True, "desktop"), (True, "startmenu"), (False, "startmenu")):
            self.assertFalse(shortcut(all_users, kind).exists(), (all_users, kind))
        time.sleep(1)
        self.assertEqual(product_windows(), [])

    def test_enter_presses_install(self):
        focus(self.window)
        xdotool("key", "Return")
        self.assertEqual(self.finish(), 0)
        self.assertTrue(unix_path(PROPOSAL + "Ketrova.exe").exists())

    def test_a_running_product_is_named_before_anything_changes(self):
        elsewhere = "C:\\e2e\\Running\\"
        shutil.rmtree(unix_path(elsewhere), ignore_errors=True)
        unix_path(elsewhere).mkdir(parents=True)
        shutil.copy(BUILD / "bin" / "Ketrova.exe", unix_path(elsewhere + "Ketrova.exe"))
        documents = DRIVE_C / "e2e" / "Running" / "documents.txt"
        runner = start(f'"{elsewhere}Ketrova.exe"', env={"KETROVA_SAMPLE_SAVE_TO": windows_path(documents)})
        wait_until(product_windows, 30, "the product")
        click(self.window, *INSTALL)
        said = answer_message_box("Instalador", 60, "No")
        self.assertEqual(said, "O Ketrova está em execução e será fechado. Continuar?")
        # Nothing changed, and the window answers again.
        self.assertTrue(control(window_controls(), "Install")["enabled"])
        self.assertEqual(len(product_windows()), 1)
        self.assertFalse(documents.exists())
        self.assertFalse(unix_path(PROPOSAL).exists())
        click(self.window, *INSTALL)
        answer_message_box("Instalador", 60, "Yes")
        self.assertEqual(self.finish(), 0)
        runner.wait(30)
        self.assertEqual(documents.read_bytes().decode("utf-16-le"), f"closed {elsewhere}Ketrova.exe\r\n")

    def test_cancelar_installs_nothing(self):
        click(self.window, *CANCELAR)
        self.assertEqual(self.process.wait(60), 0)
        self.assertFalse(unix_path(PROPOSAL).exists())
        self.assertFalse(shortcut(True, "desktop").exists())

    def test_escape_presses_cancelar(self):
        focus(self.window)
        xdotool("key", "Escape")
        self.assertEqual(self.process.wait(60), 0)
        self.assertFalse(unix_path(PROPOSAL).exists())

    def test_alt_f4_closes_like_cancelar(self):
        focus(self.window)
        xdotool("key", "alt+F4")
        self.assertEqual(self.process.wait(60), 0)
        self.assertFalse(unix_path(PROPOSAL).exists())


if __name__ == "__main__":
    unittest.main()
