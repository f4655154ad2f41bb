"""The deck as data: ``extract_presentation`` and its frozen dataclasses.

The extension reads the file and writes it as the JSON object the txtppt2
command's ``--format json`` record holds (its ``properties``, ``slides`` and
``masters``); ``to_dict()`` gives that object back, and ``to_markdown()``
the command's ``--format markdown``, from the same renderer.
"""
import json
from dataclasses import asdict, dataclass, field
from typing import Any, Dict, Optional, Tuple, Union

from . import _sources, _txtppt2
from ._errors import error_for

# A user-defined property's value: dates are ISO 8601 text.
PropertyValue = Union[None, bool, int, float, str]


@dataclass(frozen=True)
class Link:
    """A hyperlinked run, or a shape whose mouse click is a hyperlink: the
    run's text or the shape's whole text ("" where it has none, as a
    picture), and the target from the document's hyperlink list."""
    text: str
    url: str


@dataclass(frozen=True)
class Comment:
    """A reviewer's comment on a slide; ``date`` is ISO 8601 UTC."""
    author: str
    initials: str
    text: str
    date: Optional[str]


@dataclass(frozen=True)
class HeaderText:
    """A header, footer or date text: ``place`` is "slide" or "notes",
    ``kind`` "header", "footer" or "date"."""
    place: str
    kind: str
    text: str


@dataclass(frozen=True)
class Properties:
    """The document's properties from its summary property sets; absent
    ones are None. ``created`` and ``modified`` are ISO 8601 UTC
    ("2008-08-04T22:27:16Z"); ``custom`` maps the user-defined properties'
    names to their values."""
    title: Optional[str] = None
    subject: Optional[str] = None
    author: Optional[str] = None
    keywords: Optional[str] = None
    comments: Optional[str] = None
    last_saved_by: Optional[str] = None
    revision: Optional[str] = None
    application: Optional[str] = None
    company: Optional[str] = None
    category: Optional[str] = None
    manager: Optional[str] = None
    created: Optional[str] = None
    modified: Optional[str] = None
    slides: Optional[int] = None
    notes: Optional[int] = None
    hidden_slides: Optional[int] = None
    custom: Dict[str, PropertyValue] = field(default_factory=dict)

    def to_dict(self) -> Dict[str, Any]:
        """The JSON record's "properties" object."""
        values = {name: getattr(self, name)
                  for name in self.__dataclass_fields__}
        values["custom"] = dict(self.custom)
        return values


@dataclass(frozen=True)
class Slide:
    """One slide, in presentation order.

    ``number`` counts from 1; ``title`` is the title placeholder's text (or
    the slide list's title where no shape shows one), None where there is
    none; ``text`` is the slide's own text in drawing order, title included,
    each paragraph ended by LF; ``notes`` the notes page's own text;
    ``tables`` each table among the slide's shapes as rows of its cells'
    texts (each as ``text`` holds it, paragraphs ended by LF).
    """
    number: int
    title: Optional[str]
    text: str
    notes: str = ""
    hidden: bool = False
    links: Tuple[Link, ...] = ()
    comments: Tuple[Comment, ...] = ()
    headers: Tuple[HeaderText, ...] = ()
    tables: Tuple[Tuple[Tuple[str, ...], ...], ...] = ()

    def to_dict(self) -> Dict[str, Any]:
        """The JSON record's object for this slide."""
        return {
            "number": self.number, "title": self.title, "text": self.text,
            "notes": self.notes, "hidden": self.hidden,
            "links": [asdict(link) for link in self.links],
            "comments": [asdict(comment) for comment in self.comments],
            "headers": [asdict(header) for header in self.headers],
            "tables": [[list(row) for row in table] for table in self.tables],
        }


@dataclass(frozen=True)
class Presentation:
    """A deck: its properties, its slides in presentation order, and the
    non-prompt text of each master a slide uses."""
    properties: Properties
    slides: Tuple[Slide, ...]
    masters: Tuple[str, ...] = ()

    def to_dict(self) -> Dict[str, Any]:
        """The object the txtppt2 command's ``--format json`` record holds
        under "properties", "slides" and "masters" (plain dicts and lists,
        ready for ``json.dumps``)."""
        return {"properties": self.properties.to_dict(),
                "slides": [slide.to_dict() for slide in self.slides],
                "masters": list(self.masters)}

    def to_markdown(self) -> str:
        """The txtppt2 command's ``--format markdown`` of this deck."""
        def utf8(text: str) -> bytes:
            # A lone surrogate becomes U+FFFD, as in the file's own text.
            return text.encode("utf-16-le", "surrogatepass").decode(
                "utf-16-le", "replace").encode("utf-8")
        return _txtppt2.render_markdown([
            (slide.number, None if slide.title is None else utf8(slide.title),
             utf8(slide.text), utf8(slide.notes)) for slide in self.slides])

    @classmethod
    def from_dict(cls, data: Dict[str, Any]) -> "Presentation":
        """The deck that ``to_dict()`` (or a JSON record) describes."""
        slides = tuple(Slide(
            number=s["number"], title=s["title"], text=s["text"],
            notes=s["notes"], hidden=s["hidden"],
            links=tuple(Link(**link) for link in s["links"]),
            comments=tuple(Comment(**comment) for comment in s["comments"]),
            headers=tuple(HeaderText(**header) for header in s["headers"]),
            tables=tuple(tuple(tuple(row) for row in table)
                         for table in s["tables"]))
            for s in data["slides"])
        return cls(Properties(**data["properties"]), slides,
                   tuple(data["masters"]))


def extract(source: Any, password: Optional[str] = None) -> Presentation:
    """txtppt2.extract_presentation."""
    return extract_with_format(source, password)[0]


def extract_with_format(source: Any, password: Optional[str] = None
                        ) -> Tuple[Presentation, str]:
    """The deck and what the file is ("ppt", "ppt95"), for Dask's records."""
    data, status, format, error, os_error, code, message = _sources.dispatch(
        source,
        lambda path: _txtppt2.file_presentation_path(path, password),
        lambda buffer: _txtppt2.file_presentation_buffer(buffer, password))
    if status != "ok":
        salvaged = None
        if data is not None:
            salvaged = "\n".join(slide["text"]
                                 for slide in json.loads(data)["slides"])
        raise error_for(status, format, error, os_error, code,
                        message.decode("utf-8", "replace"), source, salvaged)
    return Presentation.from_dict(json.loads(data)), format
