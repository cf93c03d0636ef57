"""Load a scene, select, save the application's selection to JSON, undo.

    PYTHONPATH=build/dev/python python3 examples/python/select_and_undo.py [SCENE] [JSON]

Prints what happens; the application's selection goes to JSON (standard output without it).
"""

import json
import pathlib
import sys

import voshape


def main(arguments):
    here = pathlib.Path(__file__).parent
    scene = pathlib.Path(arguments[0]) if arguments else here / "garden.scene"
    with voshape.Editor.from_file(scene) as editor:
        selector = editor.selector
        print("shapes:", ", ".join(shape.name for shape in editor.shapes))
        selector.on_selection_changed(lambda: print("  changed:", list(selector)))

        # Two shapes, then Leaf alone with two points and a gradient handle.
        selector.select(["Leaf", "Petal"])
        selector.set_primary("Leaf", 1)
        selector.add_point(3)
        selector.add_handle(0)

        # The updater has mirrored that into the application's selection.
        items = editor.application_selection.to_list()
        saved = "[\n" + ",\n".join("  " + json.dumps(item) for item in items) + "\n]"
        if len(arguments) > 1:
            pathlib.Path(arguments[1]).write_text(saved + "\n")
            print(f"application's selection saved: {len(items)} items")
        else:
            print(saved)

        print("undo:", editor.undo(), "-", editor.history.undo_count, "steps left")
        print("application's selection now:", [item.name for item in editor.application_selection])


if __name__ == "__main__":
    main(sys.argv[1:])
